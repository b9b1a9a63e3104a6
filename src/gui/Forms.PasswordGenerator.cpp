#include "Forms.PasswordGenerator.h"

#include <QEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "Components.DialogWindow.h"
#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Components.ReleaseView.h"
#include "Frames.DialogHeader.h"
#include "Frames.PasswordGeneratorSettings.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Dialogs.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.SecretClipboard.h"

namespace {

constexpr int ClientWidth = 460;
constexpr int ContentMargin = 16;

} // namespace

TfPasswordGenerator::TfPasswordGenerator(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fPasswordGenerator"));
    PrepareDialogWindow(*this);
    CreateControls();
    LocalizerUpdate();
}

void TfPasswordGenerator::CreateControls()
{
    frDialogHeader = CreateDialogHeader(this);

    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("pnlDlgContent"));
    frPasswordGeneratorSettings = new TfrPasswordGeneratorSettings(content);
    const int margin = ScaleByDpi(this, ContentMargin);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(margin, margin, margin, 0);
    contentLayout->addWidget(frPasswordGeneratorSettings);

    const TDialogButtonBar buttons = CreateDialogButtonBar(this);
    btnOK = buttons.OK;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &TfPasswordGenerator::OkClick);

    StackDialogRows(this, {frDialogHeader, content, buttons.Bar});
    content->setFixedWidth(ScaleByDpi(this, ClientWidth));
}

void TfPasswordGenerator::LocalizerUpdate()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    setWindowTitle(strings.FAppName);
    frDialogHeader->SetCaption(strings.FPasswordGeneratorDlgCaption);
    btnOK->setText(FMode == TPasswordGeneratorViewMode::pgvmStandalone
                       ? strings.FCopyPasswordButtonCaption
                       : strings.FInsertPasswordButtonCaption);
    btnCancel->setText(tr("Cancel"));
}

void TfPasswordGenerator::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QDialog::changeEvent(event);
}

IPasswordGeneratorSettings* TfPasswordGenerator::GetPasswordGeneratorSettings()
{
    return frPasswordGeneratorSettings;
}

void TfPasswordGenerator::SetMode(TPasswordGeneratorViewMode mode)
{
    FMode = mode;
    LocalizerUpdate();
}

void TfPasswordGenerator::LoadUIState()
{
    frPasswordGeneratorSettings->LoadUIState();
}

void TfPasswordGenerator::SaveUIState()
{
    frPasswordGeneratorSettings->SaveUIState();
}

int TfPasswordGenerator::ShowModal()
{
    return ShowDialogModal(this);
}

// The password goes before the dialog does: its deletion may be deferred.
void TfPasswordGenerator::ReleaseView()
{
    frPasswordGeneratorSettings->GetPasswordEditor()->Clear();
    ReleaseDialogView(this);
}

void TfPasswordGenerator::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LoadUIState();
    TFormPlacementSaver::CenterFormInMainScreen(this);
    btnOK->setFocus(Qt::OtherFocusReason);
}

void TfPasswordGenerator::OkClick()
{
    IPasswordEditor* editor = frPasswordGeneratorSettings->GetPasswordEditor();
    // OK never hands back an empty password.
    if (editor->GetEmpty())
        frPasswordGeneratorSettings->GeneratePassword();
    // Like every password copied, it is marked secret and cleaned up; the
    // notice stays on the window the generator was opened over.
    if (FMode == TPasswordGeneratorViewMode::pgvmStandalone)
        ShowSecretCopiedToast(parentWidget(), LocalizedStrings().FToastPasswordCopied,
                              CopySecretToClipboard(editor->GetPassword()));
    SaveUIState();
    accept();
}
