#pragma once
// The application controller: the one object that knows which database is
// open, in which mode and whether the program is locked. Every window reaches
// it through ILockwynApp; it reaches the windows through their views.

#include <QEvent>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>

#include "Components.MessageDialog.h"
#include "Lockwyn.Interfaces.h"
#include "LockwynLib.Interfaces.h"

class QWidget;

// Posted to the application when the database file changed on disk; the main
// window's application-wide filter hands it to ProcessFileModificationSignal.
inline constexpr QEvent::Type FileModificationSignalEvent = QEvent::Type(6024);

// A save was attempted in read-only mode.
class EReadOnlyModeError : public std::runtime_error
{
public:
    EReadOnlyModeError() : std::runtime_error("Cannot write database in Read Only mode") {}
};

class TLockwynAppBase : public ILockwynApp
{
public:
    // Signals closer than this to the last processed one are ignored.
    static constexpr qint64 FileModificationSignalGapMs = 3000;

    TLockwynAppBase();
    ~TLockwynAppBase() override;
    TLockwynAppBase(const TLockwynAppBase&) = delete;
    TLockwynAppBase& operator=(const TLockwynAppBase&) = delete;

    QString GetDatabaseName() override;
    bool GetInitialized() override { return FInitialized; }
    bool GetLocked() override { return FLocked; }
    bool GetReadOnlyMode() override { return FReadOnlyMode; }
    QMenu* GetHelpMenu() override;
    IMainView* GetMainView() override;
    ISelectionHistory* GetSelectionHistory() override { return FSelectionHistory.get(); }
    std::shared_ptr<Lockwyn::ITokenStorage> GetTokenStorage() override;
    std::shared_ptr<Lockwyn::ITokenGroup> GetRootGroup() override;
    void SetReadOnlyMode(bool value) override { FReadOnlyMode = value; }
    void LoadSettings() override;
    void Start() override;
    bool RequestEditMode() override;
    void ProcessFileModificationSignal() override;
    void AddFileModificationListener(const TFileModificationListener& listener) override;
    void RemoveFileModificationListener(const TFileModificationListener& listener) override;
    bool NewDatabase() override;
    bool OpenDatabase() override;
    void SaveDatabase() override;
    bool SaveDatabaseAs() override;
    void ChangeMasterPassword() override;
    bool ExportDatabase(int converterIndex) override;
    bool ImportDatabase(int converterIndex) override;
    void Lock() override;
    void LockMinimized() override;
    void ReloadDatabase() override;
    void Terminate() override;
    void ToggleShowHide() override;
    void CloseAllDialogs() override;
    void SetLanguage(const QString& languageName) override;
    void SetAutoLockDelay(int seconds) override;
    void ResetIdleTimer() override;
    void SuspendIdleTimer() override;
    void ResumeIdleTimer() override;
    bool GetCanLock() override;
    bool GetCanExit() override { return FCanExit; }
    void ClearHistory() override;
    IStartDialogView* CreateStartDialogView() override;
    INewMasterPasswordView* CreateNewMasterPasswordView() override;
    IPasswordGeneratorView* CreatePasswordGeneratorView() override;
    ITokenView* CreateTokenView() override;
    ITokenGroupView* CreateTokenGroupView() override;
    ICustomPropertyAddView* CreateCustomPropertyAddView() override;
    void ShowPasswordGenerator() override;

    // True when hiding to the notification area is wanted and possible.
    static bool HidesToNotificationArea();
    // Replaces the question whether the system has a notification area
    // (tests); an empty value restores the system's answer.
    static void SetNotificationAreaAvailableForTesting(std::optional<bool> available);

    // The main window as a widget; null before it exists.
    QWidget* GetMainWindow();

protected:
    // Milliseconds of a steady clock; tests move it.
    virtual qint64 CurrentTimeMs() const;
    const QTimer& AutoLockTimer() const { return FAutoLockTimer; }
    // The retry questions about creating and opening a file, with the
    // system's reason for the failure where there is one; true for Retry.
    bool AskRetryCreate(int code, const QString& reason);
    bool AskRetryOpen(int code, const QString& reason);

private:
    struct TFileSignalTarget;

    std::shared_ptr<Lockwyn::IDatabaseFile> DatabaseFile();
    void ApplySettings();
    void RunStartDialog(TStartDialogViewMode mode, bool initiallyHidden);
    bool HandleStartDialogResult(IStartDialogView* view, bool& sameFile);
    // The reason of a failure, in the system's words, goes to reason.
    int CreateDatabaseFile(const QString& fileName, const QString& password, QString& reason);
    int OpenDatabaseFile(const QString& fileName, const QString& password, bool& abandoned);
    bool SaveDowngradedCopy(Lockwyn::IDatabaseFile& scratch, QString& fileName);
    bool AskRetry(const QString& message);
    template <typename TButtons>
    int Ask(const QString& message, TMsgDlgType type, const TButtons& buttons, int defaultButton);
    void StartIdleCountdown();
    void SaveRecentFiles(IStartDialogView* view);
    void DatabaseOpened();
    void UpdateDatabaseViews();
    void ApplyTreeStartupState();
    void Unlock(bool restoreWindows);
    void LockWith(bool initiallyHidden);
    bool CanSignalFileModification();
    void OnDatabaseFileChanged();
    void HookFileChanges();
    void ShowToast(const QString& message, int interval);
    QWidget* DialogParent();

    bool FInitialized = false;
    std::atomic<bool> FLocked = false;
    std::atomic<bool> FFlushing = false;
    bool FReadOnlyMode = false;
    QTimer FAutoLockTimer;
    int FSuspendIdleTimerCount = 0;
    qint64 FLastRestIdleTime = 0;
    std::unique_ptr<ISelectionHistory> FSelectionHistory;
    QList<TFileModificationListener> FFileModificationListeners;
    std::atomic<qint64> FLastFileModificationSignalTime = 0;
    bool FCanExit = true;
    bool FInternalTerminated = false;

    // The file that was open when the program locked, to tell an unlock of
    // the same file from the opening of another.
    QString FLockedDatabaseFileName;
    // Windows hidden by the lock or by ToggleShowHide, to be brought back.
    QList<QPointer<QWidget>> FWindowsHiddenByLock;
    QList<QPointer<QWidget>> FWindowsHiddenByToggle;
    // A listener's question is up; further signals wait for the next burst.
    bool FProcessingFileModification = false;
    std::shared_ptr<TFileSignalTarget> FFileSignalTarget;
    std::shared_ptr<Lockwyn::IDatabaseFile> FDatabaseFile;
};

// The process-wide controller, created on first use.
ILockwynApp& LockwynApp();
// Frees it; called at program end before the libraries are unloaded.
void ReleaseLockwynApp();

// Folder + name without extension + suffix + extension.
QString AddFileNameSuffix(const QString& fileName, const QString& suffix);
// Both names denote the same file (by the file system's rules for letter case).
bool SameFileName(const QString& left, const QString& right);
