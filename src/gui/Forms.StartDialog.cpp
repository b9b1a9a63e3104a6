#include "Forms.StartDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCommandLinkButton>
#include <QEventLoop>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "Components.DialogWindow.h"
#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Components.MessageDialog.h"
#include "Components.ReleaseView.h"
#include "Frames.DatabaseNameAndPassword.h"
#include "Frames.DialogHeader.h"
#include "Frames.StartCommandButtons.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Dialogs.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "Orvanta.Vcl.RecentFilesComboBox.h"

namespace {

constexpr int ClientWidth = 494;
constexpr int ClientHeight = 325;
constexpr int ContentMargin = 16;
constexpr int ButtonRowTopMargin = 12;
constexpr int ButtonWidth = 88;
constexpr int ShakeInterval = 40;
constexpr int ShakeCount = 5;
constexpr int ShakeDistance = 5;

bool IsOpenPage(TStartDialogWizardPage page)
{
    return page == TStartDialogWizardPage::sdwpOpenDatabase ||
           page == TStartDialogWizardPage::sdwpUnlockApplication;
}

} // namespace

TfStartDialog::TfStartDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fStartDialog"));
    PrepareDialogWindow(*this, LockwynApp().GetMainView() ? Qt::WindowMinimizeButtonHint
                                                          : Qt::WindowFlags());

    CreateControls();
    resize(ScaleByDpi(this, ClientWidth), ScaleByDpi(this, ClientHeight));
    LocalizerUpdate();
    SetMode(TStartDialogViewMode::sdvmStartingApplication);
}

void TfStartDialog::CreateControls()
{
    frDialogHeader = CreateDialogHeader(this);
    connect(frDialogHeader, &TfrDialogHeader::OnBackButtonClick, this, &TfStartDialog::BackClick);

    frStartCommandButtons = new TfrStartCommandButtons(this);
    connect(frStartCommandButtons, &TfrStartCommandButtons::OnCreateNewDatabase, this,
            &TfStartDialog::CreateNewDatabaseClick);
    connect(frStartCommandButtons, &TfrStartCommandButtons::OnOpenDatabase, this,
            &TfStartDialog::OpenDatabaseClick);
    connect(frStartCommandButtons, &TfrStartCommandButtons::OnCloseApplication, this,
            &TfStartDialog::CloseApplicationClick);

    pnlDlgContent = new QWidget(this);
    pnlDlgContent->setObjectName(QStringLiteral("pnlDlgContent"));
    frDatabaseNameAndPassword = new TfrDatabaseNameAndPassword(pnlDlgContent);

    flpnlDlgButtons = new QWidget(pnlDlgContent);
    flpnlDlgButtons->setObjectName(QStringLiteral("flpnlDlgButtons"));
    btnOK = new QPushButton(flpnlDlgButtons);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setMinimumWidth(ScaleByDpi(this, ButtonWidth));
    connect(btnOK, &QPushButton::clicked, this, &TfStartDialog::OkClick);
    auto* buttonLayout = new QHBoxLayout(flpnlDlgButtons);
    buttonLayout->setContentsMargins(0, ScaleByDpi(this, ButtonRowTopMargin), 0,
                                     ScaleByDpi(this, ContentMargin));
    buttonLayout->addStretch(1);
    buttonLayout->addWidget(btnOK);

    const int margin = ScaleByDpi(this, ContentMargin);
    auto* contentLayout = new QVBoxLayout(pnlDlgContent);
    contentLayout->setContentsMargins(margin, margin, margin, 0);
    contentLayout->setSpacing(0);
    contentLayout->addWidget(frDatabaseNameAndPassword, 1);
    contentLayout->addWidget(flpnlDlgButtons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(frDialogHeader);
    layout->addWidget(frStartCommandButtons, 1);
    layout->addWidget(pnlDlgContent, 1);

    tmrShakeDialog = new QTimer(this);
    tmrShakeDialog->setObjectName(QStringLiteral("tmrShakeDialog"));
    tmrShakeDialog->setInterval(ShakeInterval);
    connect(tmrShakeDialog, &QTimer::timeout, this, &TfStartDialog::ShakeTick);
}

void TfStartDialog::LocalizerUpdate()
{
    setWindowTitle(LocalizedStrings().FAppName);
    btnOK->setText(tr("OK"));
    ApplyModeCaption();
}

void TfStartDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        LocalizerUpdate();
    } else if (event->type() == QEvent::WindowStateChange && isMinimized() &&
               TLockwynAppBase::HidesToNotificationArea()) {
        // Goes to the notification area instead of the task bar; done once
        // the window system has finished the state change.
        QMetaObject::invokeMethod(this, &TfStartDialog::MinimizeToNotificationArea,
                                  Qt::QueuedConnection);
    }
}

void TfStartDialog::MinimizeToNotificationArea()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    QWidget* main = dynamic_cast<QWidget*>(LockwynApp().GetMainView());
    if (main && main->isVisible())
        LockwynApp().ToggleShowHide();
    else
        hide();
}

IDatabaseNameAndPassword* TfStartDialog::GetDatabaseNameAndPassword()
{
    return frDatabaseNameAndPassword;
}

void TfStartDialog::ApplyModeCaption()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    switch (FMode) {
    case TStartDialogViewMode::sdvmStartingApplication:
        frDialogHeader->SetCaption(strings.FSelectAction);
        return;
    case TStartDialogViewMode::sdvmCreateNewDatabase:
        frDialogHeader->SetCaption(strings.FNewDatabaseDlgCaption);
        return;
    case TStartDialogViewMode::sdvmOpenLastDatabase:
    case TStartDialogViewMode::sdvmOpenDatabase:
        frDialogHeader->SetCaption(strings.FOpenDatabaseDlgCaption);
        return;
    case TStartDialogViewMode::sdvmUnlockApplication:
        frDialogHeader->SetCaption(strings.FDatabaseLockedDlgCaption);
        return;
    }
}

void TfStartDialog::SetMode(TStartDialogViewMode mode)
{
    FMode = mode;
    switch (mode) {
    case TStartDialogViewMode::sdvmStartingApplication:
        frDialogHeader->SetBackButtonVisible(false);
        FCurrentPage = TStartDialogWizardPage::sdwpCommandButtons;
        break;
    case TStartDialogViewMode::sdvmCreateNewDatabase:
        frDatabaseNameAndPassword->SetMode(TDatabaseOpenMode::domCreateNewDatabase);
        FCurrentPage = TStartDialogWizardPage::sdwpCreateNewDatabase;
        break;
    case TStartDialogViewMode::sdvmOpenLastDatabase:
    case TStartDialogViewMode::sdvmOpenDatabase:
        frDatabaseNameAndPassword->SetMode(TDatabaseOpenMode::domOpenDatabase);
        FillRecentList();
        frDialogHeader->SetBackButtonVisible(mode == TStartDialogViewMode::sdvmOpenLastDatabase);
        FCurrentPage = TStartDialogWizardPage::sdwpOpenDatabase;
        break;
    case TStartDialogViewMode::sdvmUnlockApplication:
        frDatabaseNameAndPassword->SetMode(TDatabaseOpenMode::domOpenDatabase);
        FillRecentList();
        frDialogHeader->SetBackButtonVisible(true);
        FCurrentPage = TStartDialogWizardPage::sdwpUnlockApplication;
        break;
    }
    ApplyModeCaption();
    frDatabaseNameAndPassword->SetReadOnly(GUISettings().ReadOnlyMode());
    const bool commands = FCurrentPage == TStartDialogWizardPage::sdwpCommandButtons;
    frStartCommandButtons->setVisible(commands);
    pnlDlgContent->setVisible(!commands);
    frDatabaseNameAndPassword->ReorderControls();
    if (commands && isVisible())
        frStartCommandButtons->CreateNewDatabaseButton()->setFocus(Qt::OtherFocusReason);
}

// The remembered files that still exist and the last database, which is
// selected.
void TfStartDialog::FillRecentList()
{
    const TLockwynGUISettings& settings = GUISettings();
    TOvRecentItems items;
    const QStringList recentFiles = settings.RecentFiles();
    for (const QString& fileName : recentFiles) {
        if (QFileInfo(fileName).isFile() && items.IndexOf(fileName) < 0)
            items.Add(fileName);
    }
    const QString last = settings.LastDatabaseFileName();
    if (!last.trimmed().isEmpty() && items.IndexOf(last) < 0)
        items.Add(last);
    items.RemoveNonExisted();
    IDatabaseFileNameEditor* editor = frDatabaseNameAndPassword->GetDatabaseFileNameEditor();
    editor->SetRecentItems(&items);
    editor->SetFileName(last);
}

void TfStartDialog::LoadUIState()
{
    frDatabaseNameAndPassword->GetPasswordEditor()->SetShowCharacters(
        GUISettings().MasterPassDlgShowPasswordChars());
}

void TfStartDialog::SaveUIState()
{
    GUISettings().SetMasterPassDlgShowPasswordChars(
        frDatabaseNameAndPassword->GetPasswordEditor()->GetShowCharacters());
}

// ---------------------------------------------------------------------------
// Showing

int TfStartDialog::ShowModal()
{
    FDialogResult = TStartDialogResult::sdrCloseApplication;
    setResult(mrNone);
    if (!FInitiallyHidden) {
        show();
    } else if (!TLockwynAppBase::HidesToNotificationArea()) {
        showMinimized();
    }
    // Started hidden, the dialog waits for the notification-area icon.
    FInitiallyHidden = false;

    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    // Ends also when the application quits.
    loop.exec(QEventLoop::DialogExec);
    if (isVisible())
        hide();
    return result() == mrNone ? mrCancel : result();
}

void TfStartDialog::ReleaseView()
{
    ReleaseDialogView(this);
}

void TfStartDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LoadUIState();
    if (!FLayoutArranged) {
        ArrangeLayout();
        TFormPlacementSaver::CenterFormInMainScreen(this);
        FLayoutArranged = true;
    }
    raise();
    activateWindow();
    if (FCurrentPage == TStartDialogWizardPage::sdwpCommandButtons) {
        frStartCommandButtons->CreateNewDatabaseButton()->setFocus(Qt::OtherFocusReason);
        return;
    }
    IPasswordEditor* editor = frDatabaseNameAndPassword->GetPasswordEditor();
    editor->Focus();
    editor->ForceCapsLockIsOnBalloon();
}

void TfStartDialog::hideEvent(QHideEvent* event)
{
    SaveUIState();
    QDialog::hideEvent(event);
}

// The content is as tall as the taller of the create and the open layout, so
// that switching pages never resizes the window.
void TfStartDialog::ArrangeLayout()
{
    const TDatabaseOpenMode mode = frDatabaseNameAndPassword->GetMode();
    int frameHeight = 0;
    for (TDatabaseOpenMode measured :
         {TDatabaseOpenMode::domCreateNewDatabase, TDatabaseOpenMode::domOpenDatabase}) {
        frDatabaseNameAndPassword->SetMode(measured);
        frDatabaseNameAndPassword->layout()->activate();
        frameHeight = std::max(frameHeight, frDatabaseNameAndPassword->sizeHint().height());
    }
    frDatabaseNameAndPassword->SetMode(mode);
    frDatabaseNameAndPassword->setMinimumHeight(frameHeight);

    pnlDlgContent->layout()->activate();
    const int contentHeight = pnlDlgContent->sizeHint().height();
    const int commandsHeight = frStartCommandButtons->minimumHeight();
    setFixedSize(ScaleByDpi(this, ClientWidth),
                 frDialogHeader->height() + std::max(contentHeight, commandsHeight));
}

void TfStartDialog::closeEvent(QCloseEvent* event)
{
    FDialogResult = TStartDialogResult::sdrCloseApplication;
    QDialog::closeEvent(event);
}

// The dialog has no Cancel: Escape does nothing.
void TfStartDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// Commands

void TfStartDialog::CreateNewDatabaseClick()
{
    SetMode(TStartDialogViewMode::sdvmCreateNewDatabase);
    frDialogHeader->SetBackButtonVisible(true);
    IPasswordEditor* editor = frDatabaseNameAndPassword->GetPasswordEditor();
    editor->Clear();
    editor->Focus();
}

void TfStartDialog::OpenDatabaseClick()
{
    SetMode(TStartDialogViewMode::sdvmOpenDatabase);
    frDialogHeader->SetBackButtonVisible(true);
    IDatabaseFileNameEditor* fileEditor = frDatabaseNameAndPassword->GetDatabaseFileNameEditor();
    if (fileEditor->GetEmpty()) {
        frDatabaseNameAndPassword->Clear();
        fileEditor->SelectFile();
    }
    IPasswordEditor* editor = frDatabaseNameAndPassword->GetPasswordEditor();
    editor->Clear();
    editor->Focus();
}

void TfStartDialog::CloseApplicationClick()
{
    FDialogResult = PageResult();
    done(mrClose);
}

void TfStartDialog::BackClick()
{
    SetMode(TStartDialogViewMode::sdvmStartingApplication);
}

TStartDialogResult TfStartDialog::PageResult() const
{
    switch (FCurrentPage) {
    case TStartDialogWizardPage::sdwpCreateNewDatabase:
        return TStartDialogResult::sdrCreateNewDatabase;
    case TStartDialogWizardPage::sdwpOpenDatabase:
        return TStartDialogResult::sdrOpenDatabase;
    case TStartDialogWizardPage::sdwpUnlockApplication:
        return TStartDialogResult::sdrUnlockApplication;
    case TStartDialogWizardPage::sdwpCommandButtons:
        break;
    }
    return TStartDialogResult::sdrCloseApplication;
}

void TfStartDialog::OkClick()
{
    if (tmrShakeDialog->isActive() || !CheckInput())
        return;
    GUISettings().SetReadOnlyMode(frDatabaseNameAndPassword->GetReadOnly());
    FDialogResult = PageResult();
    done(mrOk);
}

bool TfStartDialog::CheckInput()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    IDatabaseFileNameEditor* fileEditor = frDatabaseNameAndPassword->GetDatabaseFileNameEditor();
    IPasswordEditor* passwordEditor = frDatabaseNameAndPassword->GetPasswordEditor();
    const auto focusFile = [fileEditor] {
        fileEditor->Focus();
    };
    const auto focusPassword = [passwordEditor] {
        passwordEditor->Focus();
    };
    const bool create = FCurrentPage == TStartDialogWizardPage::sdwpCreateNewDatabase;
    const bool open = IsOpenPage(FCurrentPage);
    const QString fileName = fileEditor->GetFileName();
    const QFileInfo file(fileName);

    if (fileEditor->GetEmpty())
        return RefuseInput(this, strings.FDatabaseNameCannotBeEmpty, focusFile);
    if (FCurrentPage != TStartDialogWizardPage::sdwpCommandButtons && passwordEditor->GetEmpty())
        return RefuseInput(this, strings.FMasterPasswordCannotBeEmpty, focusPassword);
    if (open && !file.isFile())
        return RefuseInput(this, strings.FDatabaseFileNotExists, focusFile);
    if (create && !passwordEditor->GetPasswordAndConfirmationIdentical())
        return RefuseInput(this, strings.FMasterPasswordAndConfirmationDifferent, focusPassword);
    if (create && !QFileInfo(file.absolutePath()).isDir())
        return RefuseInput(this, strings.FErrorPathNotExist, focusFile);
    if (create && file.exists()) {
        const int answer = TMessageDialog::Show(
            Lockwyn::Format(strings.FDatabaseAlreadyExists, file.fileName()),
            TMsgDlgType::mtWarning, TMessageDialog::TDialogButtons::dbYesNo, 1);
        if (answer != TMessageDialog::idYes) {
            focusFile();
            return false;
        }
    }
    if (open) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const int code = GetLockwyn()->GetDatabaseFile()->CheckMasterPassword(
            fileName, passwordEditor->GetPassword());
        QApplication::restoreOverrideCursor();
        // Other failures are reported by the controller when it opens the file.
        if (code == Lockwyn::DatabaseFileCode::OpenWrongPassword) {
            StartShake();
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// Shaking: five jolts in 200 ms, then an empty password field.

void TfStartDialog::StartShake()
{
    FDialogOriginBeforeShake = pos();
    FCurrentShakeCount = ShakeCount;
    tmrShakeDialog->start();
}

void TfStartDialog::ShakeTick()
{
    const int count = FCurrentShakeCount--;
    if (count > 0) {
        const int distance = ScaleByDpi(this, ShakeDistance);
        move(FDialogOriginBeforeShake + QPoint(count % 2 ? distance : -distance, 0));
        return;
    }
    tmrShakeDialog->stop();
    move(FDialogOriginBeforeShake);
    IPasswordEditor* editor = frDatabaseNameAndPassword->GetPasswordEditor();
    editor->Clear();
    editor->Focus();
    editor->ForceCapsLockIsOnBalloon();
}
