#pragma once
// Helpers for the tests of the database session: cheap database files, an
// answerer for message boxes, and scripted views standing in for the start
// dialog, the new-master-password dialog and the main window.

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "Lockwyn.App.h"
#include "Lockwyn.Interfaces.h"
#include "LockwynLib.Interfaces.h"
#include "Orvanta.Vcl.RecentFilesComboBox.h"

namespace SessionTest {

inline const Lockwyn::TKeyDerivationSettings CheapKdf{1, 8u << 10};

// Cheap key derivation for the program's database file and an empty session.
void ResetDatabase();
// A database file with the given password and top-level groups.
void CreateDatabaseFile(const QString& fileName, const QString& password,
                        const QStringList& groups = {});
// The titles of the top-level groups of a file; empty when it cannot be opened.
QStringList GroupTitlesOf(const QString& fileName, const QString& password);
// Opens the file with a separate storage, adds a group and saves: another
// program changing the file.
void AddGroupElsewhere(const QString& fileName, const QString& password, const QString& group);
// Makes a new database file the program's open database (root titled after
// the file).
void OpenDatabase(const QString& fileName, const QString& password, const QStringList& groups = {});
// Every token of a file, one line each: group path, title, user name,
// password, URL, notes, expiry and user values. Empty when it cannot be opened.
QStringList TokensOnDisk(const QString& fileName, const QString& password);
// Every group of a file with its template: "path [names]".
QStringList GroupsOnDisk(const QString& fileName, const QString& password);
// Adds a group to the open database through the operation history.
void AddGroup(const QString& title);
QStringList OpenGroupTitles();

// A file's bytes; empty when it cannot be read.
QByteArray ReadAll(const QString& fileName);
// Replaces a file's content.
void WriteAll(const QString& fileName, const QByteArray& content);

// The text of the toast on screen; empty when there is none.
QString ToastText();

// Once the real start dialog shows, types the password and presses OK.
void AnswerStartDialogWithPassword(const QString& password);

template <typename T> T* Child(const QWidget& parent, const char* name)
{
    return parent.findChild<T*>(QLatin1String(name));
}

// The control that has the focus within the window (offscreen windows are
// not activated).
QString FocusName(const QWidget& window);

// Presses the queued buttons of message boxes as they appear, by caption
// (ignoring "&"). A box without a queued answer is closed and noted.
class TMessageBoxAnswerer : public QObject
{
    Q_OBJECT
public:
    TMessageBoxAnswerer();
    ~TMessageBoxAnswerer() override;

    void Answer(const QString& caption) { FAnswers.enqueue(caption); }
    // Closes the next box with Escape, as the close button of its title bar does.
    void AnswerEscape() { FAnswers.enqueue(EscapeAnswer); }
    // Runs while each box is up.
    std::function<void()> OnMessage;
    const QStringList& Messages() const { return FMessages; }
    const QStringList& Unexpected() const { return FUnexpected; }
    int PendingAnswers() const { return int(FAnswers.size()); }

private:
    static inline const QString EscapeAnswer = QStringLiteral("\x1b");
    void Poll();

    QTimer FTimer;
    QQueue<QString> FAnswers;
    QStringList FMessages;
    QStringList FUnexpected;
};

// What one run of a scripted start dialog returns.
struct TDialogRound
{
    TStartDialogResult Result = TStartDialogResult::sdrCloseApplication;
    QString FileName;
    QString Password;
    bool ReadOnly = false;
    // Runs while the dialog "is shown".
    std::function<void()> WhileShown;
};

// Shared by the test and every scripted view it makes.
struct TScript
{
    QQueue<TDialogRound> Rounds;
    // Names the file dialogs return; an empty name cancels.
    QQueue<QString> ChosenFiles;
    // What the views were told and asked.
    QList<TStartDialogViewMode> Modes;
    QList<bool> InitiallyHidden;
    QStringList SelectFileStartNames;
    int ShowCount = 0;
    int Created = 0;
    int Released = 0;
    QStringList Failures;

    // New master password dialog.
    int MasterPasswordResult = mrCancel;
    QString NewMasterPassword;
    int MasterPasswordDialogs = 0;
};

class TTestStartDialogView;

class TTestApp : public TLockwynAppBase
{
public:
    explicit TTestApp(std::shared_ptr<TScript> script) : FScript(std::move(script)) {}

    IStartDialogView* CreateStartDialogView() override;
    INewMasterPasswordView* CreateNewMasterPasswordView() override;

    using TLockwynAppBase::AskRetryCreate;
    using TLockwynAppBase::AskRetryOpen;
    using TLockwynAppBase::AutoLockTimer;

    void Advance(qint64 ms) { FNow += ms; }

protected:
    qint64 CurrentTimeMs() const override { return FNow; }

private:
    std::shared_ptr<TScript> FScript;
    std::atomic<qint64> FNow = 1000000;
};

// The main window with its group tree and token list, counting calls.
class TTestMainView : public QWidget, public IMainView
{
    Q_OBJECT
public:
    // Stand-ins that count rebuilds and hold a selection.
    struct TTree : ITokenGroupTreeView
    {
        int Updates = 0;
        int StartupStates = 0;
        std::shared_ptr<Lockwyn::ITokenGroup> Selected;
        void Show() override {}
        void Hide() override {}
        void UpdateView() override { ++Updates; }
        bool Focused() override { return false; }
        bool IsSearchResultsSelected() override { return false; }
        std::shared_ptr<Lockwyn::ITokenGroup> GetSelectedGroup() override { return Selected; }
        std::shared_ptr<Lockwyn::ITokenGroup> GetSelectedFilteredGroup() override
        {
            return nullptr;
        }
        bool IsSelectedGroupInExpiredBranch() override { return false; }
        void SelectGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) override
        {
            Selected = group;
        }
        bool CanAddGroup() override { return true; }
        bool CanEditGroup() override { return false; }
        bool CanDeleteGroup() override { return false; }
        void AddGroup() override {}
        void EditGroup() override {}
        void DeleteGroup() override {}
        void SetFocus() override {}
        void SelectSearchResults() override {}
        void ResetFilteredGroupSelection() override {}
        void ApplyStartupState() override { ++StartupStates; }
    };
    struct TList : ITokenListView
    {
        int Reloads = 0;
        Lockwyn::ITokenList Selected;
        void Show() override {}
        void Hide() override {}
        void UpdateView() override { Reload(); }
        std::shared_ptr<Lockwyn::IToken> GetSelectedToken() override
        {
            return Selected.isEmpty() ? nullptr : Selected.first();
        }
        std::optional<Lockwyn::ITokenList> GetSelectedTokens() override
        {
            if (Selected.isEmpty())
                return std::nullopt;
            return Selected;
        }
        std::optional<Lockwyn::ITokenList> GetSelectedFilteredTokens() override
        {
            return std::nullopt;
        }
        int GetSelectedCount() override { return int(Selected.size()); }
        bool IsFocused() override { return false; }
        QMenu* GetPopupMenu() override { return nullptr; }
        void SelectToken(const std::shared_ptr<Lockwyn::IToken>& token) override
        {
            Selected = token ? Lockwyn::ITokenList{token} : Lockwyn::ITokenList{};
        }
        void SetPopupMenu(QMenu*) override {}
        void SelectTokens(const Lockwyn::ITokenList& tokens) override { Selected = tokens; }
        void AddToken() override {}
        void EditSelectedToken() override {}
        void DeleteSelectedTokens() override {}
        void Reload() override { ++Reloads; }
        void SetFocus() override {}
        void SelectAll() override {}
        void ClearSelectedFilteredTokens() override {}
        void CopySelectedUserName() override {}
        void CopyUserName(const std::shared_ptr<Lockwyn::IToken>&) override {}
        void CopySelectedPassword() override {}
        void CopyPassword(const std::shared_ptr<Lockwyn::IToken>&) override {}
    };

    // Hands the file-change event to the controller, as the main window does.
    explicit TTestMainView(ILockwynApp* app);
    ~TTestMainView() override;

    void Show() override { show(); }
    void Hide() override { hide(); }
    QString GetSearchText() override { return SearchText; }
    bool IsSearchActive() override { return !SearchText.trimmed().isEmpty(); }
    std::optional<Lockwyn::ITokenList> GetFilteredTokens() override { return std::nullopt; }
    Lockwyn::ITokenGroupList GetGroupsOfFilteredTokens() override { return {}; }
    std::optional<Lockwyn::ITokenGroupList> GetFilteredGroups() override { return std::nullopt; }
    Lockwyn::ITokenGroupList GetSearchScopeGroups() override { return {}; }
    ITokenGroupTreeView* GetTokenGroupTreeView() override { return &Tree; }
    ITokenListView* GetTokenListView() override { return &List; }
    IInfoPanel* GetInfoPanel() override { return nullptr; }
    void SetSearchText(const QString& text) override { SearchText = text; }
    void OpenMainURLAndFill(bool) override {}
    void UpdateSearchFilter() override {}
    void NormalizeTopMost() override { ++Normalized; }
    void RestoreTopMost() override { ++Restored; }
    void UpdateCaption() override { ++Captions; }

    TTree Tree;
    TList List;
    QString SearchText;
    int Normalized = 0;
    int Restored = 0;
    int Captions = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ILockwynApp* FApp;
};

} // namespace SessionTest
