#include "Frames.CustomPropsFrameBase.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Components.MessageDialog.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Dialogs.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "OvToast.h"

namespace {

constexpr int Spacing = 8;

} // namespace

TfrCustomPropsFrameBase::TfrCustomPropsFrameBase(QWidget* parent) : QWidget(parent)
{
    btnAddProp = new QPushButton(this);
    btnAddProp->setObjectName(QStringLiteral("btnAddProp"));
    btnAddProp->setAutoDefault(false);
    connect(btnAddProp, &QPushButton::clicked, this, &TfrCustomPropsFrameBase::AddClick);
    btnDeleteProp = new QPushButton(this);
    btnDeleteProp->setObjectName(QStringLiteral("btnDeleteProp"));
    btnDeleteProp->setAutoDefault(false);
    connect(btnDeleteProp, &QPushButton::clicked, this, &TfrCustomPropsFrameBase::DeleteClick);

    FHint = new QLabel(this);
    FHint->setAlignment(Qt::AlignCenter);
    FHint->setWordWrap(true);
    FHint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(ScaleByDpi(this, Spacing));
    buttons->addWidget(btnAddProp);
    buttons->addWidget(btnDeleteProp);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ScaleByDpi(this, Spacing));
    layout->addLayout(buttons);
    layout->addWidget(FHint, 1);
}

void TfrCustomPropsFrameBase::SetListControl(QWidget* list)
{
    FList = list;
    static_cast<QVBoxLayout*>(layout())->addWidget(list, 1);
}

void TfrCustomPropsFrameBase::ShowList(bool show)
{
    FHint->setVisible(!show);
    FList->setVisible(show);
}

void TfrCustomPropsFrameBase::FireChange()
{
    if (FOnChange)
        FOnChange();
}

void TfrCustomPropsFrameBase::LocalizerUpdate()
{
    btnAddProp->setText(tr("Add..."));
    btnDeleteProp->setText(tr("Delete"));
}

void TfrCustomPropsFrameBase::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

void TfrCustomPropsFrameBase::AddClick()
{
    ICustomPropertyAddView* view = LockwynApp().CreateCustomPropertyAddView();
    view->SetExcludedPropTitles(Names());
    const bool chosen = view->ShowModal() == mrOk;
    const QString name = view->GetPropertyName();
    view->ReleaseView();
    if (!chosen)
        return;
    if (Exists(name)) {
        TOvToast::Show(
            window(),
            Lockwyn::Format(LocalizedStrings().FPropertyAlreadyExists, TitleForMessage(name)),
            InputToastInterval);
        return;
    }
    WriteBack();
    AddName(name);
    Rebuild();
    SelectName(name);
    FireChange();
}

void TfrCustomPropsFrameBase::DeleteClick()
{
    const QString name = CurrentName();
    if (name.isEmpty())
        return;
    if (GUISettings().DeleteConfirmations()) {
        const int answer = TMessageDialog::Show(
            Lockwyn::Format(LocalizedStrings().FDeletePropertyConfirmation, TitleForMessage(name)),
            TMsgDlgType::mtConfirmation, TMessageDialog::TDialogButtons::dbYesNo, 1);
        if (answer != TMessageDialog::idYes)
            return;
    }
    WriteBack();
    DeleteName(name);
    TOvToast::Show(window(),
                   Lockwyn::Format(LocalizedStrings().FToastPropertyDeleted, TitleForMessage(name)),
                   InputToastInterval);
    Rebuild();
    FireChange();
}
