#include "Forms.NewMasterPassword.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Components.DialogWindow.h"
#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Components.ReleaseView.h"
#include "Frames.DialogHeader.h"
#include "Frames.PasswordEditor.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Dialogs.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

namespace {

constexpr int ClientWidth = 494;
constexpr int ContentMargin = 16;
constexpr int LabelSpacing = 3;
constexpr int RowSpacing = 14;
// Every masked character shows as "*", as in the password editor.
const char* const MaskStyleSheet = "QLineEdit { lineedit-password-character: 42; }";

} // namespace

TfNewMasterPassword::TfNewMasterPassword(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fNewMasterPassword"));
    PrepareDialogWindow(*this);
    CreateControls();
    connect(frPasswordEditor, &TfrPasswordEditor::OnShowCharactersUpdate, this,
            &TfNewMasterPassword::ApplyOldPasswordMasking);
    LocalizerUpdate();
}

void TfNewMasterPassword::CreateControls()
{
    frDialogHeader = CreateDialogHeader(this);

    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("pnlDlgContent"));
    lblOldPassword = new QLabel(content);
    lblOldPassword->setObjectName(QStringLiteral("lblOldPassword"));
    edtOldPassword = new QLineEdit(content);
    edtOldPassword->setObjectName(QStringLiteral("edtOldPassword"));
    edtOldPassword->setStyleSheet(QLatin1String(MaskStyleSheet));
    lblOldPassword->setBuddy(edtOldPassword);
    frPasswordEditor = new TfrPasswordEditor(content);
    frPasswordEditor->SetMode(TPasswordEditorMode::pemManualCreate);

    auto* oldPassword = new QVBoxLayout;
    oldPassword->setSpacing(ScaleByDpi(this, LabelSpacing));
    oldPassword->addWidget(lblOldPassword);
    oldPassword->addWidget(edtOldPassword);
    const int margin = ScaleByDpi(this, ContentMargin);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(margin, margin, margin, 0);
    contentLayout->setSpacing(ScaleByDpi(this, RowSpacing));
    contentLayout->addLayout(oldPassword);
    contentLayout->addWidget(frPasswordEditor);

    const TDialogButtonBar buttons = CreateDialogButtonBar(this);
    btnOK = buttons.OK;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &TfNewMasterPassword::OkClick);

    StackDialogRows(this, {frDialogHeader, content, buttons.Bar});
    content->setFixedWidth(ScaleByDpi(this, ClientWidth));
}

void TfNewMasterPassword::LocalizerUpdate()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    setWindowTitle(strings.FAppName);
    frDialogHeader->SetCaption(strings.FNewMasterPasswordDlgCaption);
    frPasswordEditor->SetCaption(strings.FMasterPassword);
    lblOldPassword->setText(tr("Old Master Password:"));
    btnOK->setText(tr("OK"));
    btnCancel->setText(tr("Cancel"));
}

void TfNewMasterPassword::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QDialog::changeEvent(event);
}

IPasswordEditor* TfNewMasterPassword::GetPasswordEditor()
{
    return frPasswordEditor;
}

void TfNewMasterPassword::LoadUIState()
{
    frPasswordEditor->SetShowCharacters(GUISettings().MasterPassDlgShowPasswordChars());
}

void TfNewMasterPassword::SaveUIState()
{
    GUISettings().SetMasterPassDlgShowPasswordChars(frPasswordEditor->GetShowCharacters());
}

void TfNewMasterPassword::ApplyOldPasswordMasking()
{
    edtOldPassword->setEchoMode(frPasswordEditor->GetShowCharacters() ? QLineEdit::Normal
                                                                      : QLineEdit::Password);
}

int TfNewMasterPassword::ShowModal()
{
    return ShowDialogModal(this);
}

// The passwords go before the dialog does: its deletion may be deferred.
void TfNewMasterPassword::ReleaseView()
{
    edtOldPassword->clear();
    frPasswordEditor->Clear();
    ReleaseDialogView(this);
}

void TfNewMasterPassword::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LoadUIState();
    ApplyOldPasswordMasking();
    TFormPlacementSaver::CenterFormInMainScreen(this);
    raise();
    activateWindow();
    edtOldPassword->setFocus(Qt::OtherFocusReason);
}

void TfNewMasterPassword::hideEvent(QHideEvent* event)
{
    SaveUIState();
    QDialog::hideEvent(event);
}

void TfNewMasterPassword::OkClick()
{
    if (CheckInput())
        accept();
}

bool TfNewMasterPassword::CheckInput()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const auto focusOld = [this] {
        edtOldPassword->setFocus(Qt::OtherFocusReason);
    };
    const auto focusNew = [this] {
        frPasswordEditor->Focus();
    };
    if (edtOldPassword->text().isEmpty())
        return RefuseInput(this, strings.FEnterOldMasterPassword, focusOld);
    if (!LockwynApp().GetTokenStorage()->IsMasterPassword(edtOldPassword->text()))
        return RefuseInput(this, strings.FOldMasterPasswordIsWrong, focusOld);
    if (frPasswordEditor->GetEmpty())
        return RefuseInput(this, strings.FMasterPasswordCannotBeEmpty, focusNew);
    if (!frPasswordEditor->GetPasswordAndConfirmationIdentical())
        return RefuseInput(this, strings.FMasterPasswordAndConfirmationDifferent, focusNew);
    return true;
}
