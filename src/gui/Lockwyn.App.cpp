#include "Lockwyn.App.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <mutex>

#include "Components.MessageDialog.h"
#include "Components.Singleton.h"
#include "Forms.CustomPropertyAdd.h"
#include "Forms.EditGroup.h"
#include "Forms.EditToken.h"
#include "Forms.NewMasterPassword.h"
#include "Forms.PasswordGenerator.h"
#include "Forms.StartDialog.h"
#include "Lockwyn.DatabaseTransfer.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Localizer.h"
#include "Lockwyn.SelectionHistory.h"
#include "Lockwyn.Settings.h"
#include "Orvanta.Vcl.RecentFilesComboBox.h"
#include "OvToast.h"
#include "Platform.Paths.h"

using namespace Lockwyn;

namespace {

constexpr int ToastInterval = 2000;
constexpr int SuccessToastInterval = 3000;
constexpr qint64 IdleResetGapMs = 2000;
const QString DowngradeSuffix = QStringLiteral("_downgrade");

// The system's reason for a failure below the message's first line:
// "Cannot save database file." / "No space left on device" / "Retry with ...".
QString WithReason(const QString& message, const QString& reason)
{
    if (reason.isEmpty())
        return message;
    const qsizetype firstLineEnd = message.indexOf(u'\n');
    if (firstLineEnd < 0)
        return message + u'\n' + reason;
    return message.left(firstLineEnd + 1) + reason + message.mid(firstLineEnd);
}

std::optional<bool>& NotificationAreaOverride()
{
    static std::optional<bool> available;
    return available;
}

// The program's windows: top-level windows and dialogs, not menus, tool tips
// or toasts. The most recently listed first.
QList<QWidget*> Forms()
{
    QList<QWidget*> forms;
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget* widget : widgets) {
        const Qt::WindowType type = widget->windowType();
        if (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool)
            forms.prepend(widget);
    }
    return forms;
}

// Less than half of the window is likely to be seen: it is not the active one.
bool MostlyCovered(const QWidget* window)
{
    return !window->isActiveWindow();
}

void BringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

// Clears a flag when the scope ends, however it ends.
class TFlagGuard
{
public:
    explicit TFlagGuard(std::atomic<bool>& flag) : FFlag(flag) { FFlag = true; }
    ~TFlagGuard() { FFlag = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    std::atomic<bool>& FFlag;
};

} // namespace

// Lets the storage library's watcher thread reach the controller only while
// the controller lives and the application runs.
struct TLockwynAppBase::TFileSignalTarget
{
    std::mutex Mutex;
    TLockwynAppBase* App = nullptr;

    void Disable()
    {
        std::lock_guard lock(Mutex);
        App = nullptr;
    }
};

TLockwynAppBase::TLockwynAppBase()
    : FSelectionHistory(std::make_unique<TSelectionHistory>(*this)),
      FFileSignalTarget(std::make_shared<TFileSignalTarget>())
{
    FFileSignalTarget->App = this;
    FAutoLockTimer.setObjectName(QStringLiteral("FAutoLockTimer"));
    QObject::connect(&FAutoLockTimer, &QTimer::timeout, [this] { LockMinimized(); });
    if (QCoreApplication::instance()) {
        QObject::connect(qApp, &QCoreApplication::aboutToQuit,
                         [target = FFileSignalTarget] { target->Disable(); });
    }
}

TLockwynAppBase::~TLockwynAppBase()
{
    FFileSignalTarget->Disable();
    if (FDatabaseFile) {
        FDatabaseFile->SetOnFileChanged(nullptr);
        FDatabaseFile->SetOnFileChanged2(nullptr);
    }
}

std::shared_ptr<IDatabaseFile> TLockwynAppBase::DatabaseFile()
{
    if (!FDatabaseFile)
        FDatabaseFile = GetLockwyn()->GetDatabaseFile();
    return FDatabaseFile;
}

qint64 TLockwynAppBase::CurrentTimeMs() const
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    // Never below the gap, so that the first signal always passes the check.
    return clock.elapsed() + FileModificationSignalGapMs;
}

// ---------------------------------------------------------------------------
// State and views

QString TLockwynAppBase::GetDatabaseName()
{
    return QFileInfo(DatabaseFile()->GetFileName()).completeBaseName();
}

IMainView* TLockwynAppBase::GetMainView()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget* widget : widgets) {
        if (auto* view = dynamic_cast<IMainView*>(widget))
            return view;
    }
    return nullptr;
}

QWidget* TLockwynAppBase::GetMainWindow()
{
    return dynamic_cast<QWidget*>(GetMainView());
}

QMenu* TLockwynAppBase::GetHelpMenu()
{
    QWidget* window = GetMainWindow();
    return window ? window->findChild<QMenu*>(QStringLiteral("pmHelp")) : nullptr;
}

std::shared_ptr<ITokenStorage> TLockwynAppBase::GetTokenStorage()
{
    return DatabaseFile()->GetTokenStorage();
}

std::shared_ptr<ITokenGroup> TLockwynAppBase::GetRootGroup()
{
    return GetTokenStorage()->GetRootGroup();
}

void TLockwynAppBase::ClearHistory()
{
    FSelectionHistory->Clear();
    GetLockwyn()->GetOperationHistory()->Clear();
}

void TLockwynAppBase::UpdateDatabaseViews()
{
    IMainView* main = GetMainView();
    if (!main)
        return;
    if (ITokenGroupTreeView* tree = main->GetTokenGroupTreeView())
        tree->UpdateView();
    if (ITokenListView* list = main->GetTokenListView())
        list->Reload();
}

void TLockwynAppBase::ApplyTreeStartupState()
{
    IMainView* main = GetMainView();
    if (ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr)
        tree->ApplyStartupState();
}

void TLockwynAppBase::ShowToast(const QString& message, int interval)
{
    TOvToast::Show(GetMainWindow(), message, interval);
}

// The controller's own questions: the idle lock waits while one is open.
template <typename TButtons>
int TLockwynAppBase::Ask(const QString& message, TMsgDlgType type, const TButtons& buttons,
                         int defaultButton)
{
    const TIdleTimerSuspension suspended(*this);
    return TMessageDialog::Show(message, type, buttons, defaultButton);
}

// Dialogs belong to the main window while it is shown; otherwise they are
// windows of their own with their own task-bar button.
QWidget* TLockwynAppBase::DialogParent()
{
    QWidget* main = GetMainWindow();
    return main && main->isVisible() ? main : nullptr;
}

IStartDialogView* TLockwynAppBase::CreateStartDialogView()
{
    return new TfStartDialog(DialogParent());
}

INewMasterPasswordView* TLockwynAppBase::CreateNewMasterPasswordView()
{
    return new TfNewMasterPassword(DialogParent());
}

IPasswordGeneratorView* TLockwynAppBase::CreatePasswordGeneratorView()
{
    return new TfPasswordGenerator(DialogParent());
}

ITokenView* TLockwynAppBase::CreateTokenView()
{
    return new TfEditToken(DialogParent());
}

ITokenGroupView* TLockwynAppBase::CreateTokenGroupView()
{
    return new TfEditGroup(DialogParent());
}

// Opened from another dialog, which is then the active window.
ICustomPropertyAddView* TLockwynAppBase::CreateCustomPropertyAddView()
{
    return new TfCustomPropertyAdd(QApplication::activeModalWidget());
}

void TLockwynAppBase::ShowPasswordGenerator()
{
    const TIdleTimerSuspension suspended(*this);
    IPasswordGeneratorView* view = CreatePasswordGeneratorView();
    view->SetMode(TPasswordGeneratorViewMode::pgvmStandalone);
    IMainView* main = GetMainView();
    if (main)
        main->NormalizeTopMost();
    view->ShowModal();
    if (main && !FInternalTerminated)
        main->RestoreTopMost();
    view->ReleaseView();
}

// ---------------------------------------------------------------------------
// Settings and start

void TLockwynAppBase::LoadSettings()
{
    GUISettings().SetFileName(Platform::DataFolder() + u'/' +
                              TLockwynGUISettings::SettingsFileName);
    GUISettings().Load();
}

void TLockwynAppBase::SetLanguage(const QString& languageName)
{
    Localizer().SetLanguage(languageName);
}

void TLockwynAppBase::ApplySettings()
{
    SetLanguage(GUISettings().Language());
    SetAutoLockDelay(GUISettings().GetAutoLockSeconds());
    if (IMainView* main = GetMainView()) {
        if (ITokenGroupTreeView* tree = main->GetTokenGroupTreeView())
            tree->UpdateView();
    }
}

void TLockwynAppBase::Start()
{
    if (FInitialized)
        return;
    ApplySettings();
    RunStartDialog(GUISettings().LastDatabaseFileNameAvailable()
                       ? TStartDialogViewMode::sdvmOpenLastDatabase
                       : TStartDialogViewMode::sdvmStartingApplication,
                   GUISettings().RunMinimized());
    HookFileChanges();
    FLastRestIdleTime = CurrentTimeMs();
    FInitialized = true;
}

void TLockwynAppBase::Terminate()
{
    // The entry does not show a main window that is still being created.
    qApp->setProperty("ShowMainForm", false);
    FInternalTerminated = true;
    // Ends the running event loops; a loop started later ends at once.
    QCoreApplication::quit();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------
// The start dialog loop

void TLockwynAppBase::RunStartDialog(TStartDialogViewMode mode, bool initiallyHidden)
{
    // The countdown starts afresh once a database is open, never before.
    const TIdleTimerSuspension suspended(*this);
    IStartDialogView* view = CreateStartDialogView();
    view->SetMode(mode);
    view->SetInitiallyHidden(initiallyHidden);
    bool sameFile = false;
    for (;;) {
        view->ShowModal();
        if (FInternalTerminated || HandleStartDialogResult(view, sameFile))
            break;
    }
    view->ReleaseView();
    if (FInternalTerminated)
        return;

    GetRootGroup()->SetTitle(GetDatabaseName());
    UpdateDatabaseViews();
    if (mode == TStartDialogViewMode::sdvmStartingApplication)
        return;
    if (IMainView* main = GetMainView())
        main->Show();
    if (QWidget* window = GetMainWindow()) {
        if (sameFile && window->isMinimized())
            window->showNormal();
        window->raise();
        window->activateWindow();
    }
}

// True when the loop is done: a database is open or the program ends.
bool TLockwynAppBase::HandleStartDialogResult(IStartDialogView* view, bool& sameFile)
{
    IDatabaseNameAndPassword* input = view->GetDatabaseNameAndPassword();
    const QString fileName = input->GetDatabaseFileNameEditor()->GetFileName();
    const QString password = input->GetPasswordEditor()->GetPassword();
    switch (view->GetDialogResult()) {
    case TStartDialogResult::sdrCreateNewDatabase: {
        FReadOnlyMode = false;
        QString reason;
        const int code = CreateDatabaseFile(fileName, password, reason);
        if (code != DatabaseFileCode::Ok) {
            if (!AskRetryCreate(code, reason))
                view->SetMode(TStartDialogViewMode::sdvmStartingApplication);
            return false;
        }
        Unlock(false);
        GUISettings().SetLastDatabaseFileName(DatabaseFile()->GetFileName());
        SaveRecentFiles(view);
        ClearHistory();
        return true;
    }
    case TStartDialogResult::sdrOpenDatabase:
    case TStartDialogResult::sdrUnlockApplication: {
        const QString current = FLocked ? FLockedDatabaseFileName : DatabaseFile()->GetFileName();
        sameFile = SameFileName(fileName, current);
        bool abandoned = false;
        if (OpenDatabaseFile(fileName, password, abandoned) != DatabaseFileCode::Ok || abandoned)
            return false;
        FReadOnlyMode = input->GetReadOnly();
        if (FLocked && !sameFile)
            ClearHistory();
        Unlock(sameFile);
        GUISettings().SetLastDatabaseFileName(DatabaseFile()->GetFileName());
        SaveRecentFiles(view);
        return true;
    }
    case TStartDialogResult::sdrCloseApplication:
        Terminate();
        return true;
    }
    return false;
}

void TLockwynAppBase::SaveRecentFiles(IStartDialogView* view)
{
    TOvRecentItems items;
    items.Assign(view->GetDatabaseNameAndPassword()->GetDatabaseFileNameEditor()->GetRecentItems());
    // A view that never showed its open page has no list of its own.
    const QStringList remembered = GUISettings().RecentFiles();
    for (const QString& name : remembered) {
        if (QFileInfo(name).isFile() && items.IndexOf(name) < 0)
            items.Add(name);
    }
    const QString current = DatabaseFile()->GetFileName();
    if (!current.isEmpty() && items.IndexOf(current) < 0)
        items.Add(current);
    QStringList names;
    items.GetFileNames(names);
    GUISettings().SetRecentFiles(names);
}

// ---------------------------------------------------------------------------
// Creating and opening

int TLockwynAppBase::CreateDatabaseFile(const QString& fileName, const QString& password,
                                        QString& reason)
{
    const auto file = DatabaseFile();
    const auto storage = file->GetTokenStorage();
    // A failed creation must not cost the database that is open now.
    const QString previousFile = file->GetOpened() ? file->GetFileName() : QString();
    const auto previousKey = previousFile.isEmpty() ? nullptr : file->GetKey();

    storage->Clear();
    storage->SetMasterPassword(password);
    const int code = file->CreateFile(fileName);
    if (code != DatabaseFileCode::Ok) {
        reason = file->GetErrorReason(); // before the reopening below replaces it
        storage->Clear();
        if (!previousFile.isEmpty())
            file->OpenWithKey(previousFile, previousKey);
    }
    return code;
}

int TLockwynAppBase::OpenDatabaseFile(const QString& fileName, const QString& password,
                                      bool& abandoned)
{
    abandoned = false;
    const auto file = DatabaseFile();
    QString nameToOpen = fileName;
    if (!SameFileName(fileName, file->GetFileName())) {
        const auto scratch = file->CreateScratchFile();
        const int code = scratch->Open(fileName, password);
        if (code != DatabaseFileCode::Ok) {
            abandoned = !AskRetryOpen(code, scratch->GetErrorReason());
            return code;
        }
        const bool newer =
            scratch->GetTokenStorage()->GetLoadedVersion() > file->GetTokenStorage()->GetVersion();
        const bool copied = newer && SaveDowngradedCopy(*scratch, nameToOpen);
        scratch->Close();
        scratch->GetTokenStorage()->Clear();
        if (newer && !copied) {
            abandoned = true;
            return DatabaseFileCode::Ok;
        }
    }
    const int code = file->Open(nameToOpen, password);
    if (code != DatabaseFileCode::Ok)
        abandoned = !AskRetryOpen(code, file->GetErrorReason());
    return code;
}

// A file of a newer format is opened only as a copy written by this version.
bool TLockwynAppBase::SaveDowngradedCopy(IDatabaseFile& scratch, QString& fileName)
{
    if (Ask(LocalizedStrings().FLoadedVersionOvershootMessage, TMsgDlgType::mtWarning,
            TMessageDialog::TDialogButtons::dbOkCancel, 0) != TMessageDialog::idOk)
        return false;

    IStartDialogView* view = CreateStartDialogView();
    view->SetMode(TStartDialogViewMode::sdvmCreateNewDatabase);
    IDatabaseFileNameEditor* editor =
        view->GetDatabaseNameAndPassword()->GetDatabaseFileNameEditor();
    editor->SetFileName(AddFileNameSuffix(fileName, DowngradeSuffix));
    bool saved = false;
    while (!FInternalTerminated && editor->SelectFile()) {
        const QString copy = editor->GetFileName();
        // The newer file itself is never written.
        const int code = SameFileName(copy, fileName) ? DatabaseFileCode::CreateAccessDenied
                                                      : scratch.CreateFile(copy);
        if (code == DatabaseFileCode::Ok) {
            fileName = copy;
            saved = true;
            break;
        }
        if (!AskRetryCreate(code, scratch.GetErrorReason()))
            break;
    }
    view->ReleaseView();
    return saved;
}

bool TLockwynAppBase::AskRetry(const QString& message)
{
    FCanExit = false;
    const int answer =
        Ask(message, TMsgDlgType::mtWarning, TMessageDialog::TDialogButtons::dbRetryCancel, 0);
    FCanExit = true;
    return answer == TMessageDialog::idRetry;
}

bool TLockwynAppBase::AskRetryCreate(int code, const QString& reason)
{
    const TLocalizedStrings& strings = LocalizedStrings();
    switch (code) {
    case DatabaseFileCode::CreateFolderMissing:
        return AskRetry(strings.FErrorPathNotExist);
    case DatabaseFileCode::CreateEmptyPassword:
        return AskRetry(strings.FMasterPasswordCannotBeEmpty);
    case DatabaseFileCode::CreateBackupFailed:
        return AskRetry(WithReason(strings.FCannotCreateBackup, reason));
    case DatabaseFileCode::CreateAccessDenied:
        return AskRetry(WithReason(strings.FErrorAccessDenied, reason));
    case DatabaseFileCode::CreateWriteFailed:
    case DatabaseFileCode::CreateBeyondLimits:
        return AskRetry(WithReason(strings.FCannotCreateDatabase, reason));
    default:
        return AskRetry(WithReason(strings.FUnknownError, reason));
    }
}

bool TLockwynAppBase::AskRetryOpen(int code, const QString& reason)
{
    const TLocalizedStrings& strings = LocalizedStrings();
    switch (code) {
    case DatabaseFileCode::OpenFileMissing:
        return AskRetry(strings.FErrorFileNotExist);
    case DatabaseFileCode::OpenWrongPassword:
        return AskRetry(strings.FWrongMasterPasswordMessage);
    case DatabaseFileCode::OpenAccessDenied:
        return AskRetry(WithReason(strings.FErrorAccessDenied, reason));
    case DatabaseFileCode::OpenDamaged:
        return AskRetry(strings.FErrorDatabaseDamaged);
    case DatabaseFileCode::OpenTooNew:
        return AskRetry(strings.FErrorDatabaseTooNew);
    default:
        return AskRetry(WithReason(strings.FUnknownError, reason));
    }
}

// The steps after a database was opened or created from the main window.
void TLockwynAppBase::DatabaseOpened()
{
    GetRootGroup()->SetTitle(GetDatabaseName());
    GUISettings().SetLastDatabaseFileName(DatabaseFile()->GetFileName());
}

bool TLockwynAppBase::NewDatabase()
{
    const TIdleTimerSuspension suspended(*this);
    IStartDialogView* view = CreateStartDialogView();
    view->SetMode(TStartDialogViewMode::sdvmCreateNewDatabase);
    IDatabaseNameAndPassword* input = view->GetDatabaseNameAndPassword();
    bool created = false;
    if (input->GetDatabaseFileNameEditor()->SelectFile()) {
        IMainView* main = GetMainView();
        while (!FInternalTerminated) {
            if (main)
                main->NormalizeTopMost();
            view->ShowModal();
            if (main)
                main->RestoreTopMost();
            if (FInternalTerminated ||
                view->GetDialogResult() != TStartDialogResult::sdrCreateNewDatabase)
                break;
            QString reason;
            const int code = CreateDatabaseFile(input->GetDatabaseFileNameEditor()->GetFileName(),
                                                input->GetPasswordEditor()->GetPassword(), reason);
            if (code == DatabaseFileCode::Ok) {
                created = true;
                break;
            }
            if (!AskRetryCreate(code, reason))
                break;
        }
    }
    if (created) {
        DatabaseOpened();
        SaveRecentFiles(view);
        ClearHistory();
        UpdateDatabaseViews();
    }
    view->ReleaseView();
    return created;
}

bool TLockwynAppBase::OpenDatabase()
{
    IStartDialogView* view = CreateStartDialogView();
    view->SetMode(TStartDialogViewMode::sdvmOpenDatabase);
    IDatabaseNameAndPassword* input = view->GetDatabaseNameAndPassword();
    SuspendIdleTimer();
    bool opened = false;
    if (input->GetDatabaseFileNameEditor()->SelectFile()) {
        IMainView* main = GetMainView();
        while (!FInternalTerminated) {
            if (main)
                main->NormalizeTopMost();
            view->ShowModal();
            if (main)
                main->RestoreTopMost();
            if (FInternalTerminated ||
                view->GetDialogResult() != TStartDialogResult::sdrOpenDatabase)
                break;
            bool abandoned = false;
            const int code = OpenDatabaseFile(input->GetDatabaseFileNameEditor()->GetFileName(),
                                              input->GetPasswordEditor()->GetPassword(), abandoned);
            if (abandoned)
                break;
            if (code == DatabaseFileCode::Ok) {
                // A cancelled or failed open leaves the current database's mode alone.
                FReadOnlyMode = input->GetReadOnly();
                opened = true;
                break;
            }
        }
    }
    if (opened) {
        DatabaseOpened();
        SaveRecentFiles(view);
        ClearHistory();
        UpdateDatabaseViews();
        ApplyTreeStartupState();
    }
    ResumeIdleTimer();
    view->ReleaseView();
    return opened;
}

// ---------------------------------------------------------------------------
// Saving

void TLockwynAppBase::SaveDatabase()
{
    if (FReadOnlyMode)
        throw EReadOnlyModeError();
    const TFlagGuard flushing(FFlushing);
    const TLocalizedStrings& strings = LocalizedStrings();
    const auto file = DatabaseFile();
    while (!FInternalTerminated) {
        if (file->GetModifiedOnDisk()) {
            const QStringList buttons{strings.FConflictDlgOverwriteButtonCaption,
                                      strings.FConflictDlgSaveAsButtonCaption};
            // Closing the box answers with the last button, which keeps the
            // other program's changes.
            const int answer =
                Ask(strings.FSavingFileConflictDlgMessage, TMsgDlgType::mtWarning, buttons, 1);
            if (answer != 0) {
                if (SaveDatabaseAs())
                    return;
                continue;
            }
        }
        if (file->Save() == DatabaseFileCode::Ok)
            return;
        const int answer = Ask(WithReason(strings.FCannotSaveDatabase, file->GetErrorReason()),
                               TMsgDlgType::mtWarning, TMessageDialog::TDialogButtons::dbYesNo, 1);
        if (answer == TMessageDialog::idYes && SaveDatabaseAs())
            return;
    }
}

bool TLockwynAppBase::SaveDatabaseAs()
{
    IStartDialogView* view = CreateStartDialogView();
    view->SetMode(TStartDialogViewMode::sdvmCreateNewDatabase);
    IDatabaseFileNameEditor* editor =
        view->GetDatabaseNameAndPassword()->GetDatabaseFileNameEditor();
    SuspendIdleTimer();
    bool saved = false;
    if (editor->SelectFile()) {
        while (!FInternalTerminated) {
            const int code = DatabaseFile()->CreateFile(editor->GetFileName());
            if (code == DatabaseFileCode::Ok) {
                saved = true;
                break;
            }
            if (!AskRetryCreate(code, DatabaseFile()->GetErrorReason()))
                break;
        }
    }
    if (saved) {
        DatabaseOpened();
        SaveRecentFiles(view);
        if (IMainView* main = GetMainView())
            main->UpdateCaption();
    }
    ResumeIdleTimer();
    view->ReleaseView();
    return saved;
}

bool TLockwynAppBase::RequestEditMode()
{
    if (!FReadOnlyMode)
        return true;
    const int answer = Ask(LocalizedStrings().FReadOnlyDisableDlgMessage, TMsgDlgType::mtWarning,
                           TMessageDialog::TDialogButtons::dbYesNo, 1);
    if (answer != TMessageDialog::idYes)
        return false;
    FReadOnlyMode = false;
    ShowToast(LocalizedStrings().FToastReadOnlyModeDisabled, ToastInterval);
    if (IMainView* main = GetMainView())
        main->UpdateCaption();
    return true;
}

void TLockwynAppBase::ChangeMasterPassword()
{
    // The new password is saved at once, which read-only mode forbids.
    if (!RequestEditMode())
        return;
    SuspendIdleTimer();
    INewMasterPasswordView* view = CreateNewMasterPasswordView();
    IMainView* main = GetMainView();
    if (main)
        main->NormalizeTopMost();
    if (view->ShowModal() == mrOk && !FInternalTerminated) {
        GetTokenStorage()->SetMasterPassword(view->GetPasswordEditor()->GetPassword());
        SaveDatabase();
        ShowToast(LocalizedStrings().FMasterPasswordHasBeenChanged, SuccessToastInterval);
    }
    if (main)
        main->RestoreTopMost();
    view->ReleaseView();
    ResumeIdleTimer();
}

// ---------------------------------------------------------------------------
// Import and export

bool TLockwynAppBase::ExportDatabase(int converterIndex)
{
    return DatabaseTransfer::ExportDatabase(*this, converterIndex);
}

bool TLockwynAppBase::ImportDatabase(int converterIndex)
{
    return DatabaseTransfer::ImportDatabase(*this, converterIndex);
}

// ---------------------------------------------------------------------------
// Changes made by other programs

void TLockwynAppBase::HookFileChanges()
{
    const auto target = FFileSignalTarget;
    const TFileChangedCallback callback = [target] {
        std::lock_guard lock(target->Mutex);
        if (target->App)
            target->App->OnDatabaseFileChanged();
    };
    DatabaseFile()->SetOnFileChanged(callback);
    DatabaseFile()->SetOnFileChanged2(callback);
}

// Runs on the watcher thread: reads flags and posts, nothing else. The
// watcher only runs while a file is open.
void TLockwynAppBase::OnDatabaseFileChanged()
{
    if (FFlushing || FLocked ||
        CurrentTimeMs() - FLastFileModificationSignalTime < FileModificationSignalGapMs)
        return;
    if (QCoreApplication* app = QCoreApplication::instance())
        QCoreApplication::postEvent(app, new QEvent(FileModificationSignalEvent));
}

bool TLockwynAppBase::CanSignalFileModification()
{
    return DatabaseFile()->GetOpened() && !FFlushing && !FLocked && !FProcessingFileModification &&
           CurrentTimeMs() - FLastFileModificationSignalTime >= FileModificationSignalGapMs;
}

void TLockwynAppBase::ProcessFileModificationSignal()
{
    if (!CanSignalFileModification())
        return;
    FLastFileModificationSignalTime = CurrentTimeMs();
    const auto file = DatabaseFile();
    if (!file->GetModifiedOnDisk())
        return;
    FProcessingFileModification = true;
    const QList<TFileModificationListener> listeners = FFileModificationListeners;
    for (const TFileModificationListener& listener : listeners) {
        if (listener.Callback && FFileModificationListeners.contains(listener))
            listener.Callback(file->GetFileName());
    }
    FProcessingFileModification = false;
}

void TLockwynAppBase::AddFileModificationListener(const TFileModificationListener& listener)
{
    if (!FFileModificationListeners.contains(listener))
        FFileModificationListeners.append(listener);
}

void TLockwynAppBase::RemoveFileModificationListener(const TFileModificationListener& listener)
{
    FFileModificationListeners.removeAll(listener);
}

void TLockwynAppBase::ReloadDatabase()
{
    CloseAllDialogs();
    const auto file = DatabaseFile();
    const int code = file->OpenWithKey(file->GetFileName(), file->GetKey());
    const bool abandoned =
        code != DatabaseFileCode::Ok && !AskRetryOpen(code, file->GetErrorReason());
    if (abandoned || FInternalTerminated)
        return;
    if (code == DatabaseFileCode::OpenWrongPassword) {
        // The master password was changed elsewhere: the unlock dialog asks.
        Lock();
        return;
    }
    if (code != DatabaseFileCode::Ok)
        return;
    DatabaseOpened();
    ClearHistory();
    UpdateDatabaseViews();
    ApplyTreeStartupState();
    ShowToast(LocalizedStrings().FToastDatabaseReloaded, ToastInterval);
}

// ---------------------------------------------------------------------------
// Lock and windows

void TLockwynAppBase::Lock()
{
    LockWith(false);
}

void TLockwynAppBase::LockMinimized()
{
    LockWith(true);
}

void TLockwynAppBase::LockWith(bool initiallyHidden)
{
    if (!GetCanLock())
        return;
    QWidget* mainWindow = GetMainWindow();
    FWindowsHiddenByLock.clear();
    const QList<QWidget*> forms = Forms();
    for (QWidget* form : forms) {
        if (form != mainWindow && form->isVisible()) {
            FWindowsHiddenByLock.append(form);
            form->hide();
        }
    }
    FLocked = true;
    SuspendIdleTimer();
    if (IMainView* main = GetMainView())
        main->Hide();

    const auto file = DatabaseFile();
    FLockedDatabaseFileName = file->GetFileName();
    file->Close();
    file->GetTokenStorage()->Clear();
    UpdateDatabaseViews();
    RunStartDialog(TStartDialogViewMode::sdvmUnlockApplication, initiallyHidden);
}

void TLockwynAppBase::Unlock(bool restoreWindows)
{
    if (!FLocked)
        return;
    FLocked = false;
    FLockedDatabaseFileName.clear();
    const QList<QPointer<QWidget>> windows = std::exchange(FWindowsHiddenByLock, {});
    for (const QPointer<QWidget>& window : windows) {
        if (!window)
            continue;
        if (restoreWindows)
            BringToFront(window);
        else
            window->close();
    }
    QCoreApplication::processEvents();
    ResumeIdleTimer();
}

void TLockwynAppBase::CloseAllDialogs()
{
    if (FLocked || !FInitialized)
        return;
    QWidget* mainWindow = GetMainWindow();
    const QList<QWidget*> forms = Forms();
    for (QWidget* form : forms) {
        if (form != mainWindow && form->isVisible())
            form->close();
    }
}

bool TLockwynAppBase::HidesToNotificationArea()
{
    const std::optional<bool> overridden = NotificationAreaOverride();
    const bool available = overridden ? *overridden : QSystemTrayIcon::isSystemTrayAvailable();
    return available && GUISettings().MinimizeToTray();
}

void TLockwynAppBase::SetNotificationAreaAvailableForTesting(std::optional<bool> available)
{
    NotificationAreaOverride() = available;
}

void TLockwynAppBase::ToggleShowHide()
{
    QWidget* mainWindow = GetMainWindow();
    if (FInitialized && mainWindow && mainWindow->isVisible() && !FLocked &&
        MostlyCovered(mainWindow)) {
        BringToFront(mainWindow);
        return;
    }
    const QList<QWidget*> forms = Forms();
    if (!HidesToNotificationArea()) {
        if (QApplication::activeWindow()) {
            for (QWidget* form : forms) {
                if (form->isVisible())
                    form->showMinimized();
            }
        } else {
            for (QWidget* form : forms) {
                if (form->isVisible() || form == mainWindow)
                    BringToFront(form);
            }
        }
        return;
    }
    if (!FInitialized || FLocked) {
        const auto dialog = std::find_if(forms.cbegin(), forms.cend(), [](QWidget* form) {
            return dynamic_cast<IStartDialogView*>(form) != nullptr;
        });
        if (dialog == forms.cend())
            return;
        if ((*dialog)->isVisible() && MostlyCovered(*dialog))
            BringToFront(*dialog);
        else if ((*dialog)->isVisible())
            (*dialog)->hide();
        else
            BringToFront(*dialog);
        return;
    }
    if (mainWindow && mainWindow->isVisible()) {
        FWindowsHiddenByToggle.clear();
        for (QWidget* form : forms) {
            if (form->isVisible()) {
                FWindowsHiddenByToggle.append(form);
                form->hide();
            }
        }
        return;
    }
    const QList<QPointer<QWidget>> hidden = std::exchange(FWindowsHiddenByToggle, {});
    for (const QPointer<QWidget>& form : hidden) {
        if (form && form != mainWindow)
            form->show();
    }
    if (mainWindow)
        BringToFront(mainWindow);
}

// ---------------------------------------------------------------------------
// Idle lock bookkeeping

void TLockwynAppBase::SetAutoLockDelay(int seconds)
{
    if (seconds <= 0) {
        FAutoLockTimer.stop();
        FAutoLockTimer.setInterval(0);
        return;
    }
    FAutoLockTimer.setInterval(int(std::min<qint64>(qint64(seconds) * 1000, INT_MAX)));
    if (FSuspendIdleTimerCount <= 0)
        StartIdleCountdown();
}

// The countdown runs only over an open database: before the first unlock
// there is nothing to lock, and a countdown started then would run on.
void TLockwynAppBase::StartIdleCountdown()
{
    FAutoLockTimer.stop();
    FLastRestIdleTime = CurrentTimeMs();
    if (FAutoLockTimer.interval() > 0 && !FInternalTerminated && !FLocked &&
        DatabaseFile()->GetOpened())
        FAutoLockTimer.start();
}

void TLockwynAppBase::ResetIdleTimer()
{
    if (!FAutoLockTimer.isActive() || CurrentTimeMs() - FLastRestIdleTime < IdleResetGapMs)
        return;
    FAutoLockTimer.start();
    FLastRestIdleTime = CurrentTimeMs();
}

void TLockwynAppBase::SuspendIdleTimer()
{
    FAutoLockTimer.stop();
    ++FSuspendIdleTimerCount;
}

void TLockwynAppBase::ResumeIdleTimer()
{
    if (--FSuspendIdleTimerCount > 0)
        return;
    // An unbalanced resume must not leave the count below 0: locking
    // requires it to be exactly 0.
    FSuspendIdleTimerCount = 0;
    if (GUISettings().AutoLockOnIdleEnabled())
        StartIdleCountdown();
}

// Never while a save runs: a lock then would drop a change not yet written.
bool TLockwynAppBase::GetCanLock()
{
    return FInitialized && !FLocked && !FFlushing && FSuspendIdleTimerCount == 0;
}

// ---------------------------------------------------------------------------

ILockwynApp& LockwynApp()
{
    return TSingleton<TLockwynAppBase>::Instance();
}

void ReleaseLockwynApp()
{
    TSingleton<TLockwynAppBase>::Release();
}

QString AddFileNameSuffix(const QString& fileName, const QString& suffix)
{
    const QFileInfo info(fileName);
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString folder =
        info.path() == u'.' && !fileName.startsWith(u'.') ? QString() : info.path() + u'/';
    return folder + info.completeBaseName() + suffix + extension;
}

bool SameFileName(const QString& left, const QString& right)
{
    if (left.trimmed().isEmpty() || right.trimmed().isEmpty())
        return false;
    const QFileInfo a(left);
    const QFileInfo b(right);
    if (a.exists() && b.exists())
        return a == b;
    return a.absoluteFilePath() == b.absoluteFilePath();
}
