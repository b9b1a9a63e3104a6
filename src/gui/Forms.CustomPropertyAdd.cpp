#include "Forms.CustomPropertyAdd.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Components.DialogWindow.h"
#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Components.ReleaseView.h"
#include "Components.SingleLineText.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Dialogs.h"

namespace {

constexpr int ClientWidth = 320;
constexpr int ContentMargin = 16;
constexpr int LabelSpacing = 3;

} // namespace

TfCustomPropertyAdd::TfCustomPropertyAdd(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fCustomPropertyAdd"));
    PrepareDialogWindow(*this);
    CreateControls();
    LocalizerUpdate();
    UpdateOkButton();
}

void TfCustomPropertyAdd::CreateControls()
{
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("pnlDlgContent"));
    lblPropName = new QLabel(content);
    lblPropName->setObjectName(QStringLiteral("lblPropName"));
    cbbPropName = new QComboBox(content);
    cbbPropName->setObjectName(QStringLiteral("cbbPropName"));
    cbbPropName->setEditable(true);
    cbbPropName->setInsertPolicy(QComboBox::NoInsert);
    cbbPropName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbbPropName->lineEdit()->setValidator(new TSingleLineValidator(cbbPropName));
    connect(cbbPropName, &QComboBox::editTextChanged, this, &TfCustomPropertyAdd::UpdateOkButton);
    lblPropName->setBuddy(cbbPropName);

    const int margin = ScaleByDpi(this, ContentMargin);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(margin, margin, margin, 0);
    contentLayout->setSpacing(ScaleByDpi(this, LabelSpacing));
    contentLayout->addWidget(lblPropName);
    contentLayout->addWidget(cbbPropName);

    const TDialogButtonBar buttons = CreateDialogButtonBar(this);
    btnOK = buttons.OK;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    StackDialogRows(this, {content, buttons.Bar});
    content->setFixedWidth(ScaleByDpi(this, ClientWidth));
}

void TfCustomPropertyAdd::LocalizerUpdate()
{
    setWindowTitle(tr("Add User Value"));
    lblPropName->setText(tr("Value name:"));
    btnOK->setText(tr("OK"));
    btnCancel->setText(tr("Cancel"));
}

void TfCustomPropertyAdd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QDialog::changeEvent(event);
}

QString TfCustomPropertyAdd::GetPropertyName() const
{
    return cbbPropName->currentText().trimmed();
}

void TfCustomPropertyAdd::SetPropertyName(const QString& name)
{
    cbbPropName->setEditText(SingleLineText(name).trimmed());
}

int TfCustomPropertyAdd::ShowModal()
{
    return ShowDialogModal(this);
}

void TfCustomPropertyAdd::ReleaseView()
{
    ReleaseDialogView(this);
}

void TfCustomPropertyAdd::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FillNames();
    TFormPlacementSaver::CenterFormInMainScreen(this);
    cbbPropName->setFocus(Qt::OtherFocusReason);
    cbbPropName->lineEdit()->selectAll();
}

// Every name the database uses, but not those the edited object has.
void TfCustomPropertyAdd::FillNames()
{
    cbbPropName->clear();
    const QStringList names = LockwynApp().GetRootGroup()->GetAllCustomPropertyTitles();
    for (const QString& name : names) {
        if (!FExcludedPropTitles.contains(name))
            cbbPropName->addItem(SingleLineText(name), name);
    }
    if (cbbPropName->count() > 0)
        cbbPropName->setCurrentIndex(0);
    UpdateOkButton();
}

void TfCustomPropertyAdd::UpdateOkButton()
{
    btnOK->setEnabled(!GetPropertyName().isEmpty());
}
