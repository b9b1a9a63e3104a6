#include "Frames.DatabaseNameAndPassword.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Frames.DatabaseFileNameEditor.h"
#include "Frames.PasswordEditor.h"
#include "Lockwyn.LocalizedStrings.h"

namespace {

constexpr int PanelSpacing = 14;
constexpr int RowSpacing = 5;

} // namespace

TfrDatabaseNameAndPassword::TfrDatabaseNameAndPassword(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frDatabaseNameAndPassword"));
    CreateControls();
    LocalizerUpdate();
    FMode = TDatabaseOpenMode::domOpenDatabase; // so that SetMode applies the first mode
    SetMode(TDatabaseOpenMode::domCreateNewDatabase);
}

void TfrDatabaseNameAndPassword::CreateControls()
{
    pnlPassword = new QWidget(this);
    pnlPassword->setObjectName(QStringLiteral("pnlPassword"));
    frPasswordEditor = new TfrPasswordEditor(pnlPassword);
    auto* passwordLayout = new QVBoxLayout(pnlPassword);
    passwordLayout->setContentsMargins(0, 0, 0, 0);
    passwordLayout->addWidget(frPasswordEditor);

    pnlDatabasePath = new QWidget(this);
    pnlDatabasePath->setObjectName(QStringLiteral("pnlDatabasePath"));
    lblDatabaseFileName = new QLabel(pnlDatabasePath);
    lblDatabaseFileName->setObjectName(QStringLiteral("lblDatabaseFileName"));
    frDatabaseFileNameEditor = new TfrDatabaseFileNameEditor(pnlDatabasePath);
    lblDatabaseFileName->setBuddy(frDatabaseFileNameEditor);
    chkReadOnly = new QCheckBox(pnlDatabasePath);
    chkReadOnly->setObjectName(QStringLiteral("chkReadOnly"));
    auto* pathLayout = new QVBoxLayout(pnlDatabasePath);
    pathLayout->setContentsMargins(0, 0, 0, 0);
    pathLayout->setSpacing(ScaleByDpi(this, RowSpacing));
    pathLayout->addWidget(lblDatabaseFileName);
    pathLayout->addWidget(frDatabaseFileNameEditor);
    pathLayout->addWidget(chkReadOnly);

    FLayout = new QVBoxLayout(this);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(ScaleByDpi(this, PanelSpacing));
}

void TfrDatabaseNameAndPassword::LocalizerUpdate()
{
    lblDatabaseFileName->setText(tr("Database File Name:"));
    chkReadOnly->setText(tr("Read Only Mode"));
    frPasswordEditor->SetCaption(LocalizedStrings().FMasterPassword);
}

void TfrDatabaseNameAndPassword::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

IPasswordEditor* TfrDatabaseNameAndPassword::GetPasswordEditor()
{
    return frPasswordEditor;
}

IDatabaseFileNameEditor* TfrDatabaseNameAndPassword::GetDatabaseFileNameEditor()
{
    return frDatabaseFileNameEditor;
}

bool TfrDatabaseNameAndPassword::GetReadOnly() const
{
    return chkReadOnly->isChecked();
}

void TfrDatabaseNameAndPassword::SetReadOnly(bool readOnly)
{
    chkReadOnly->setChecked(readOnly);
}

void TfrDatabaseNameAndPassword::SetMode(TDatabaseOpenMode mode)
{
    if (mode == FMode)
        return;
    FMode = mode;
    const bool create = mode == TDatabaseOpenMode::domCreateNewDatabase;
    frPasswordEditor->SetMode(create ? TPasswordEditorMode::pemManualCreate
                                     : TPasswordEditorMode::pemVerify);
    pnlDatabasePath->setVisible(mode != TDatabaseOpenMode::domUnlockApp);
    chkReadOnly->setVisible(!create);
    frDatabaseFileNameEditor->SetMode(mode);
    ReorderControls();
}

void TfrDatabaseNameAndPassword::Clear()
{
    frPasswordEditor->Clear();
    frDatabaseFileNameEditor->Clear();
}

// A new database asks for the password first; opening one asks for the file.
void TfrDatabaseNameAndPassword::ReorderControls()
{
    const bool passwordFirst = FMode == TDatabaseOpenMode::domCreateNewDatabase;
    QWidget* first = passwordFirst ? pnlPassword : pnlDatabasePath;
    QWidget* second = passwordFirst ? pnlDatabasePath : pnlPassword;
    while (FLayout->count() > 0)
        delete FLayout->takeAt(0);
    FLayout->addWidget(first);
    FLayout->addWidget(second);
    FLayout->addStretch(1);
    frPasswordEditor->ReorderControls();
    if (passwordFirst) {
        setTabOrder(frPasswordEditor, frDatabaseFileNameEditor);
    } else {
        setTabOrder(frDatabaseFileNameEditor, chkReadOnly);
        setTabOrder(chkReadOnly, frPasswordEditor);
    }
}
