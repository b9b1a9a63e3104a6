#pragma once
// The views' interfaces and the enumerations the application's units share.

#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include "LockwynLib.Interfaces.h"

class QMenu;

// The page the settings dialog opens on.
enum class TAppSettingViewPage
{
    asvpGeneral,
    asvpInterface,
    asvpPasswordGenerator,
};

// A control whose parts a layout may have moved puts them back in order.
class IUIReorderableControl
{
public:
    virtual ~IUIReorderableControl() = default;
    virtual void ReorderControls() = 0;
};

enum class TPasswordEditorMode
{
    pemManualCreate, // a new password typed by hand: confirmation and strength bar
    pemGenerate,     // a generated password: shown in clear, strength bar only
    pemVerify,       // an existing password typed to be checked
};

class IPasswordEditor
{
public:
    virtual ~IPasswordEditor() = default;
    virtual TPasswordEditorMode GetMode() const = 0;
    virtual QString GetPassword() const = 0;
    // Same text in both fields (case-sensitive), or characters shown.
    virtual bool GetPasswordAndConfirmationIdentical() const = 0;
    virtual QString GetCaption() const = 0;
    virtual bool GetShowCharacters() const = 0;
    // Both fields empty after trimming spaces.
    virtual bool GetEmpty() const = 0;
    virtual void SetMode(TPasswordEditorMode mode) = 0;
    // Puts the text into both fields.
    virtual void SetPassword(const QString& password) = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetShowCharacters(bool show) = 0;
    // Shows the Caps Lock warning again when it applies.
    virtual void ForceCapsLockIsOnBalloon() = 0;
    virtual void Clear() = 0;
    virtual void Focus() = 0;
};

// The dark title bar of the main window and the dialogs.
class IDialogHeader
{
public:
    virtual ~IDialogHeader() = default;
    virtual QString GetCaption() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual bool GetBackButtonVisible() const = 0;
    virtual void SetBackButtonVisible(bool visible) = 0;
    virtual bool GetSettingsMenuVisible() const = 0;
    virtual void SetSettingsMenuVisible(bool visible) = 0;
    virtual TAppSettingViewPage GetSettingsPageToShow() const = 0;
    virtual void SetSettingsPageToShow(TAppSettingViewPage page) = 0;
    // The menu the "Help" link opens; not owned.
    virtual QMenu* GetHelpMenu() const = 0;
    virtual void SetHelpMenu(QMenu* menu) = 0;
};

// ---------------------------------------------------------------------------
// Views and the controller

class QWidget;
class TOvRecentItems;

namespace Lockwyn {
class IBrowserInfo;
class IWebAutoLoginSession;
} // namespace Lockwyn

// Results of IModalView::ShowModal.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrClose = 8;

class IView
{
public:
    virtual ~IView() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
};

// A view that rebuilds itself from the data.
class IDependencyView : public IView
{
public:
    virtual void UpdateView() = 0;
};

// A dialog created per use: run with ShowModal, freed with ReleaseView.
class IModalView
{
public:
    virtual ~IModalView() = default;
    // mrOk or mrCancel (mrClose where a dialog says so).
    virtual int ShowModal() = 0;
    virtual void ReleaseView() = 0;
};

// A view that keeps part of its state in the settings.
class IUIStatePersistent
{
public:
    virtual ~IUIStatePersistent() = default;
    virtual void LoadUIState() = 0;
    virtual void SaveUIState() = 0;
};

class IInfoPanel;
class ITokenListView;

// The group tree beside the token list. While a search is active it shows a
// search-results node with the empty ID above the groups that take part.
class ITokenGroupTreeView : public IDependencyView
{
public:
    // The tree control has the keyboard focus.
    virtual bool Focused() = 0;
    // A search is active and the search-results node is selected.
    virtual bool IsSearchResultsSelected() = 0;
    // Null when nothing or the search-results node is selected.
    virtual std::shared_ptr<Lockwyn::ITokenGroup> GetSelectedGroup() = 0;
    // The group last selected while a search was active; null when not found.
    virtual std::shared_ptr<Lockwyn::ITokenGroup> GetSelectedFilteredGroup() = 0;
    // The selected group or an ancestor below the root is expired.
    virtual bool IsSelectedGroupInExpiredBranch() = 0;
    // Null selects the search-results node, or the first node without one.
    virtual void SelectGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) = 0;
    virtual bool CanAddGroup() = 0;
    virtual bool CanEditGroup() = 0;
    virtual bool CanDeleteGroup() = 0;
    virtual void AddGroup() = 0;
    virtual void EditGroup() = 0;
    virtual void DeleteGroup() = 0;
    virtual void SetFocus() = 0;
    virtual void SelectSearchResults() = 0;
    virtual void ResetFilteredGroupSelection() = 0;
    // Expansion and selection as the settings want them after opening.
    virtual void ApplyStartupState() = 0;
};

// The tokens of the selected group, or the search results.
class ITokenListView : public IDependencyView
{
public:
    // The first selected token; null when none.
    virtual std::shared_ptr<Lockwyn::IToken> GetSelectedToken() = 0;
    // All selected tokens in row order; empty optional (not an empty list)
    // when nothing is selected.
    virtual std::optional<Lockwyn::ITokenList> GetSelectedTokens() = 0;
    // The selection remembered while a search is active.
    virtual std::optional<Lockwyn::ITokenList> GetSelectedFilteredTokens() = 0;
    virtual int GetSelectedCount() = 0;
    virtual bool IsFocused() = 0;
    virtual QMenu* GetPopupMenu() = 0;
    // Null leaves no token selected.
    virtual void SelectToken(const std::shared_ptr<Lockwyn::IToken>& token) = 0;
    virtual void SetPopupMenu(QMenu* menu) = 0;
    virtual void SelectTokens(const Lockwyn::ITokenList& tokens) = 0;
    virtual void AddToken() = 0;
    virtual void EditSelectedToken() = 0;
    virtual void DeleteSelectedTokens() = 0;
    virtual void Reload() = 0;
    virtual void SetFocus() = 0;
    virtual void SelectAll() = 0;
    virtual void ClearSelectedFilteredTokens() = 0;
    virtual void CopySelectedUserName() = 0;
    virtual void CopyUserName(const std::shared_ptr<Lockwyn::IToken>& token) = 0;
    virtual void CopySelectedPassword() = 0;
    virtual void CopyPassword(const std::shared_ptr<Lockwyn::IToken>& token) = 0;
};

// The details of the selected token or group beside the list.
class IInfoPanel : public IDependencyView
{
public:
    // The shown objects while they are alive, else null.
    virtual std::shared_ptr<Lockwyn::IToken> GetToken() = 0;
    virtual std::shared_ptr<Lockwyn::ITokenGroup> GetTokenGroup() = 0;
    virtual void SetToken(const std::shared_ptr<Lockwyn::IToken>& token) = 0;
    virtual void SetTokenGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) = 0;
};

class IMainView : public IView
{
public:
    // The search box's text as typed.
    virtual QString GetSearchText() = 0;
    // The search box holds more than blanks.
    virtual bool IsSearchActive() = 0;
    // Empty optional while no search is active.
    virtual std::optional<Lockwyn::ITokenList> GetFilteredTokens() = 0;
    // Every group containing a found token, once.
    virtual Lockwyn::ITokenGroupList GetGroupsOfFilteredTokens() = 0;
    virtual std::optional<Lockwyn::ITokenGroupList> GetFilteredGroups() = 0;
    // The groups that take part in the search, or every group without one.
    virtual Lockwyn::ITokenGroupList GetSearchScopeGroups() = 0;
    // Null while the main window has no such view.
    virtual ITokenGroupTreeView* GetTokenGroupTreeView() = 0;
    virtual ITokenListView* GetTokenListView() = 0;
    virtual IInfoPanel* GetInfoPanel() = 0;
    // Puts a different text into the search box and rebuilds the views.
    virtual void SetSearchText(const QString& text) = 0;
    // Web auto-login for the selected token.
    virtual void OpenMainURLAndFill(bool submit) = 0;
    // Bracket every modal window shown over the main window; calls nest.
    virtual void NormalizeTopMost() = 0;
    virtual void RestoreTopMost() = 0;
    virtual void UpdateCaption() = 0;
    // Recomputes the found tokens and groups for the search box's text.
    virtual void UpdateSearchFilter() = 0;
};

// The notification-area icon: shown exactly when minimising to it is on.
class ITrayIcon
{
public:
    virtual ~ITrayIcon() = default;
    virtual void UpdateTrayIcon() = 0;
};

class IUpdateService
{
public:
    virtual ~IUpdateService() = default;
    virtual bool GetAutoCheck() = 0;
    virtual void SetAutoCheck(bool value) = 0;
    // Checks for a newer version now.
    virtual void Check() = 0;
};

enum class TSelectionHistoryPhase
{
    shpBeforeOperation,
    shpAfterOperation,
};

// Which group and tokens were selected before and after each operation, so
// that undo and redo can select them again.
class ISelectionHistory
{
public:
    virtual ~ISelectionHistory() = default;
    virtual int GetCount() = 0;
    virtual void Clear() = 0;
    // Captures the current selection under (operation, phase), replacing an
    // earlier entry.
    virtual void SaveSelection(const std::shared_ptr<Lockwyn::IOperation>& operation,
                               TSelectionHistoryPhase phase) = 0;
    // False, with no view changed, when there is no such entry.
    virtual bool RestoreSelection(const std::shared_ptr<Lockwyn::IOperation>& operation,
                                  TSelectionHistoryPhase phase) = 0;
    virtual void Delete(const std::shared_ptr<Lockwyn::IOperation>& operation) = 0;
};

enum class TStartDialogViewMode
{
    sdvmStartingApplication,
    sdvmCreateNewDatabase,
    sdvmOpenLastDatabase,
    sdvmOpenDatabase,
    sdvmUnlockApplication,
};

enum class TStartDialogResult
{
    sdrCreateNewDatabase,
    sdrOpenDatabase,
    sdrUnlockApplication,
    sdrCloseApplication,
};

enum class TDatabaseOpenMode
{
    domCreateNewDatabase,
    domOpenDatabase,
    domUnlockApp,
};

class IDatabaseFileNameEditor
{
public:
    virtual ~IDatabaseFileNameEditor() = default;
    virtual TDatabaseOpenMode GetMode() const = 0;
    virtual const TOvRecentItems& GetRecentItems() const = 0;
    // The name to create in create mode, the name to open otherwise.
    virtual QString GetFileName() const = 0;
    // The file name is empty after trimming.
    virtual bool GetEmpty() const = 0;
    virtual void SetMode(TDatabaseOpenMode mode) = 0;
    // Copies the list; null empties it.
    virtual void SetRecentItems(const TOvRecentItems* items) = 0;
    virtual void SetFileName(const QString& fileName) = 0;
    // Empties the name to create.
    virtual void Clear() = 0;
    virtual void Focus() = 0;
    // Runs the file dialog of the current mode; true when a file was chosen.
    virtual bool SelectFile() = 0;
    virtual bool SelectFileInMode(TDatabaseOpenMode mode) = 0;
};

class IDatabaseNameAndPassword
{
public:
    virtual ~IDatabaseNameAndPassword() = default;
    virtual TDatabaseOpenMode GetMode() const = 0;
    virtual IPasswordEditor* GetPasswordEditor() = 0;
    virtual IDatabaseFileNameEditor* GetDatabaseFileNameEditor() = 0;
    virtual bool GetReadOnly() const = 0;
    virtual void SetMode(TDatabaseOpenMode mode) = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    // Empties the password editor and the file name editor.
    virtual void Clear() = 0;
};

class IStartDialogView : public IModalView
{
public:
    virtual TStartDialogViewMode GetMode() const = 0;
    virtual bool GetInitiallyHidden() const = 0;
    virtual TStartDialogResult GetDialogResult() const = 0;
    virtual IDatabaseNameAndPassword* GetDatabaseNameAndPassword() = 0;
    virtual void SetMode(TStartDialogViewMode mode) = 0;
    virtual void SetInitiallyHidden(bool hidden) = 0;
};

class INewMasterPasswordView : public IModalView
{
public:
    virtual IPasswordEditor* GetPasswordEditor() = 0;
};

class ICustomPropertyAddView;
class IPasswordGeneratorView;
class ITokenGroupView;
class ITokenView;

// The choice of the browser web pages open in: the system's default one, or
// one of the installed browsers.
class IBrowserSelector
{
public:
    virtual ~IBrowserSelector() = default;
    // Nil when no browser is selected.
    virtual std::shared_ptr<Lockwyn::IBrowserInfo> GetSelectedBrowser() = 0;
    virtual bool GetUseDefaultBrowser() = 0;
    // Selects the item of the same browser (by program, not by name); a
    // browser that is nil or whose program is gone stands for the default
    // one. When no item matches, the selection stays.
    virtual void SetSelectedBrowser(const std::shared_ptr<Lockwyn::IBrowserInfo>& browser) = 0;
    virtual void SetUseDefaultBrowser(bool value) = 0;
    // Rescans the installed browsers and lists them again.
    virtual void UpdateBrowserList() = 0;
};

// Waits for a session of the web auto-login library (an analysis of a login
// page) with its progress, until it completes or the user cancels.
class IWebSessionWaitView : public IModalView
{
public:
    virtual std::shared_ptr<Lockwyn::IWebAutoLoginSession> GetCurrentSession() = 0;
    virtual bool GetCancelled() = 0;
    virtual void
    SetCurrentSession(const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session) = 0;
};

// A callback bound to an object, taking the database file's full name. A
// listener is known by its object: one listener per object.
struct TFileModificationListener
{
    const void* Object = nullptr;
    std::function<void(const QString& AFileName)> Callback;

    bool operator==(const TFileModificationListener& other) const { return Object == other.Object; }
};

// The application controller: the program's state and every command on the
// database. Methods in the order the program's design tables them.
class ILockwynApp
{
public:
    virtual ~ILockwynApp() = default;
    // The open file's name without folder and extension.
    virtual QString GetDatabaseName() = 0;
    virtual bool GetInitialized() = 0;
    virtual bool GetLocked() = 0;
    virtual bool GetReadOnlyMode() = 0;
    // The main window's help menu; null while there is none.
    virtual QMenu* GetHelpMenu() = 0;
    // The main window; null before it exists.
    virtual IMainView* GetMainView() = 0;
    virtual ISelectionHistory* GetSelectionHistory() = 0;
    virtual std::shared_ptr<Lockwyn::ITokenStorage> GetTokenStorage() = 0;
    virtual std::shared_ptr<Lockwyn::ITokenGroup> GetRootGroup() = 0;
    virtual void SetReadOnlyMode(bool value) = 0;
    virtual void LoadSettings() = 0;
    virtual void Start() = 0;
    // May the database be changed now (asks to leave read-only mode).
    virtual bool RequestEditMode() = 0;
    virtual void ProcessFileModificationSignal() = 0;
    virtual void AddFileModificationListener(const TFileModificationListener& listener) = 0;
    virtual void RemoveFileModificationListener(const TFileModificationListener& listener) = 0;
    virtual bool NewDatabase() = 0;
    virtual bool OpenDatabase() = 0;
    virtual void SaveDatabase() = 0;
    virtual bool SaveDatabaseAs() = 0;
    virtual void ChangeMasterPassword() = 0;
    // Through the converter of that index; true when the file was written,
    // or read and imported.
    virtual bool ExportDatabase(int converterIndex) = 0;
    virtual bool ImportDatabase(int converterIndex) = 0;
    // The generator on its own: the password goes to the clipboard.
    virtual void ShowPasswordGenerator() = 0;
    virtual void Lock() = 0;
    virtual void LockMinimized() = 0;
    virtual void ReloadDatabase() = 0;
    virtual void Terminate() = 0;
    virtual void ToggleShowHide() = 0;
    virtual void CloseAllDialogs() = 0;
    virtual void SetLanguage(const QString& languageName) = 0;
    virtual void SetAutoLockDelay(int seconds) = 0;
    virtual void ResetIdleTimer() = 0;
    virtual void SuspendIdleTimer() = 0;
    virtual void ResumeIdleTimer() = 0;
    // Started, not locked and no dialog of the controller open.
    virtual bool GetCanLock() = 0;
    // False while a retry question about opening or creating is up.
    virtual bool GetCanExit() = 0;
    // Forgets the selection history and the undo history.
    virtual void ClearHistory() = 0;
    virtual IStartDialogView* CreateStartDialogView() = 0;
    virtual IPasswordGeneratorView* CreatePasswordGeneratorView() = 0;
    virtual INewMasterPasswordView* CreateNewMasterPasswordView() = 0;
    virtual ITokenView* CreateTokenView() = 0;
    virtual ITokenGroupView* CreateTokenGroupView() = 0;
    virtual ICustomPropertyAddView* CreateCustomPropertyAddView() = 0;
};

// Keeps the idle lock away while a dialog or question is open, however the
// scope ends.
class TIdleTimerSuspension
{
public:
    explicit TIdleTimerSuspension(ILockwynApp& app) : FApp(app) { FApp.SuspendIdleTimer(); }
    ~TIdleTimerSuspension() { FApp.ResumeIdleTimer(); }
    TIdleTimerSuspension(const TIdleTimerSuspension&) = delete;
    TIdleTimerSuspension& operator=(const TIdleTimerSuspension&) = delete;

private:
    ILockwynApp& FApp;
};

// ---------------------------------------------------------------------------
// The editing dialogs and their frames

// Called when the user changed something in a frame.
using TNotifyEvent = std::function<void()>;

enum class TEditObjectModalViewMode
{
    eomEditCurrent, // the selected object
    eomAddNew,
};

// A dialog that adds an object or edits the selected one and does the change
// itself on OK.
class IEditObjectModalView : public IModalView
{
public:
    virtual TEditObjectModalViewMode GetMode() const = 0;
    // Loads the dialog for adding or for editing the selected object.
    virtual void SetMode(TEditObjectModalViewMode mode) = 0;
};

// Whether an object expires and when.
class IExpirationSettings
{
public:
    virtual ~IExpirationSettings() = default;
    virtual bool GetExpires() const = 0;
    // The date of the date picker with the time of the time picker.
    virtual QDateTime GetExpirationDate() const = 0;
    virtual void SetExpires(bool expires) = 0;
    virtual void SetExpirationDate(const QDateTime& date) = 0;
};

// A drop-down list of every group by its path, optionally without one group
// and everything below it.
class ITokenGroupSelector
{
public:
    virtual ~ITokenGroupSelector() = default;
    // The root group when nothing is selected.
    virtual std::shared_ptr<Lockwyn::ITokenGroup> GetSelectedGroup() = 0;
    virtual std::shared_ptr<Lockwyn::ITokenGroup> GetExcludedGroup() = 0;
    // Rebuilds the list, then selects the group (nothing when it is not listed).
    virtual void SetSelectedGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) = 0;
    // Takes effect at the next rebuild.
    virtual void SetExcludedGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) = 0;
    virtual void UpdateData() = 0;
};

// The user values of a token as a table of names and values.
class ICustomPropsEditor : public IDependencyView
{
public:
    virtual TNotifyEvent GetOnChange() const = 0;
    // Writes pending edits of the table back into the set first.
    virtual std::shared_ptr<Lockwyn::ITokenCustomProperties> GetTokenCustomProperties() = 0;
    virtual void SetOnChange(const TNotifyEvent& event) = 0;
    virtual void SetTokenCustomProperties(
        const std::shared_ptr<Lockwyn::ITokenCustomProperties>& properties) = 0;
};

// The names of the user values a group's new tokens start with.
class ICustomPropsTemplateEditor : public IDependencyView
{
public:
    virtual TNotifyEvent GetOnChange() const = 0;
    // Writes the list back into the template first.
    virtual std::shared_ptr<Lockwyn::ITokenCustomPropertiesTemplate>
    GetTokenCustomPropertiesTemplate() = 0;
    virtual void SetOnChange(const TNotifyEvent& event) = 0;
    virtual void SetTokenCustomPropertiesTemplate(
        const std::shared_ptr<Lockwyn::ITokenCustomPropertiesTemplate>& templ) = 0;
};

// Asks for the name of a new user value.
class ICustomPropertyAddView : public IModalView
{
public:
    // Trimmed.
    virtual QString GetPropertyName() const = 0;
    // Names the list does not offer.
    virtual QStringList GetExcludedPropTitles() const = 0;
    virtual void SetPropertyName(const QString& name) = 0;
    virtual void SetExcludedPropTitles(const QStringList& titles) = 0;
};

// A token's change history, one block per entry.
class ITokenHistoryDisplay
{
public:
    virtual ~ITokenHistoryDisplay() = default;
    virtual std::shared_ptr<Lockwyn::ITokenHistory> GetTokenHistory() = 0;
    virtual bool GetHidePasswords() const = 0;
    // Null shows the state of a token not yet created.
    virtual void SetTokenHistory(const std::shared_ptr<Lockwyn::ITokenHistory>& history) = 0;
    // Takes effect at the next rebuild.
    virtual void SetHidePasswords(bool hide) = 0;
    // The state of a token not yet created, from now; shown at the next rebuild.
    virtual void SetInitialState() = 0;
    // Clears the history shown (a "history cleared" entry stays).
    virtual void ClearHistory() = 0;
    virtual void FocusGrid() = 0;
};

// The login form's user name and password fields of a token's auto-login.
class IWebFieldsEditView
{
public:
    virtual ~IWebFieldsEditView() = default;
    virtual Lockwyn::TWebFormElement GetUserNameElement() const = 0;
    virtual Lockwyn::TWebFormElement GetPasswordElement() const = 0;
    virtual void SetUserNameElement(const Lockwyn::TWebFormElement& element) = 0;
    virtual void SetPasswordElement(const Lockwyn::TWebFormElement& element) = 0;
};

class ITokenView : public IEditObjectModalView
{
public:
    virtual IPasswordEditor* GetPasswordEditor() = 0;
    virtual ITokenGroupSelector* GetTokenGroupSelector() = 0;
    virtual IExpirationSettings* GetExpirationSettings() = 0;
    virtual IWebFieldsEditView* GetWebFieldsEditView() = 0;
    virtual ITokenHistoryDisplay* GetTokenHistoryDisplay() = 0;
    virtual ICustomPropsEditor* GetCustomPropsEditor() = 0;
};

class ITokenGroupView : public IEditObjectModalView
{
public:
    virtual ITokenGroupSelector* GetTokenGroupSelector() = 0;
    virtual IExpirationSettings* GetExpirationSettings() = 0;
    virtual ICustomPropsTemplateEditor* GetCustomPropsTemplateEditor() = 0;
};

// Length and character classes of generated passwords, with the password
// generated from them.
class IPasswordGeneratorSettings
{
public:
    virtual ~IPasswordGeneratorSettings() = default;
    virtual IPasswordEditor* GetPasswordEditor() = 0;
    virtual Lockwyn::TPasswordGeneratorSettings GetPasswordGeneratorSettings() const = 0;
    virtual void
    SetPasswordGeneratorSettings(const Lockwyn::TPasswordGeneratorSettings& settings) = 0;
    // Generates with the current settings into the password editor.
    virtual void GeneratePassword() = 0;
};

enum class TPasswordGeneratorViewMode
{
    pgvmTokenEditor, // hands the password to the token editor
    pgvmStandalone,  // copies the password to the clipboard
};

class IPasswordGeneratorView : public IModalView
{
public:
    virtual TPasswordGeneratorViewMode GetMode() const = 0;
    virtual IPasswordGeneratorSettings* GetPasswordGeneratorSettings() = 0;
    virtual void SetMode(TPasswordGeneratorViewMode mode) = 0;
};
