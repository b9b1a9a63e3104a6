#pragma once
// A main window for the tests of the token list and the info panel: the real
// frames side by side, a group tree stand-in that selects as the real one
// does (the list reloads and the panel shows the group), and a search state
// the test sets. The controller is the program's own (LockwynApp) on a real
// database file with cheap key derivation.

#include <QSplitter>
#include <QWidget>

#include <memory>
#include <optional>

#include "Frames.InfoPanel.h"
#include "Frames.TokensView.h"
#include "Lockwyn.Interfaces.h"
#include "SessionTestSupport.h"

class TOvListView;

namespace SessionTest {

class TTokenViewsHost : public QWidget, public IMainView
{
    Q_OBJECT
public:
    // Selecting reloads the list and shows the group in the panel; null
    // selects the search results while a search is active.
    struct TTree : TTestMainView::TTree
    {
        explicit TTree(TTokenViewsHost& host) : Host(host) {}
        TTokenViewsHost& Host;
        bool SearchResultsSelected = false;

        bool IsSearchResultsSelected() override
        {
            return SearchResultsSelected && Host.IsSearchActive();
        }
        std::shared_ptr<Lockwyn::ITokenGroup> GetSelectedGroup() override
        {
            return IsSearchResultsSelected() ? nullptr : Selected;
        }
        void SelectGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) override;
    };

    TTokenViewsHost();
    ~TTokenViewsHost() override;

    void Show() override { show(); }
    void Hide() override { hide(); }
    QString GetSearchText() override { return SearchText; }
    bool IsSearchActive() override { return !SearchText.trimmed().isEmpty(); }
    std::optional<Lockwyn::ITokenList> GetFilteredTokens() override;
    Lockwyn::ITokenGroupList GetGroupsOfFilteredTokens() override { return {}; }
    std::optional<Lockwyn::ITokenGroupList> GetFilteredGroups() override;
    Lockwyn::ITokenGroupList GetSearchScopeGroups() override { return {}; }
    ITokenGroupTreeView* GetTokenGroupTreeView() override { return &Tree; }
    ITokenListView* GetTokenListView() override { return List; }
    IInfoPanel* GetInfoPanel() override { return Info; }
    void SetSearchText(const QString& text) override { SearchText = text; }
    void OpenMainURLAndFill(bool submit) override { OpenAndFill.append(submit); }
    void NormalizeTopMost() override {}
    void RestoreTopMost() override {}
    void UpdateCaption() override {}
    // Finds the tokens and groups for the search text, as the main window does.
    void UpdateSearchFilter() override { ++SearchUpdates; }

    // Shows the group (or the search results for null) and reloads the list.
    void SelectGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group);
    // Starts a search and selects the search-results node.
    void Search(const QString& text);

    // The root group: what the tree selects when asked for none.
    std::shared_ptr<Lockwyn::ITokenGroup> FirstGroup();
    TOvListView* ListControl() const;
    // A cell's text, and a column's texts from the first row to the last.
    QString Cell(int row, int column) const;
    QStringList Column(int column) const;
    // The centre of a cell in the rows' coordinates.
    QPoint CellCentre(int row, int column) const;

    // The state first: the frames may ask for it while they are being built.
    TTree Tree{*this};
    QString SearchText;
    QList<bool> OpenAndFill;
    int SearchUpdates = 0;
    QSplitter* Splitter;
    TfrTokensView* List;
    TfrInfoPanel* Info;
};

// A new database file with these top-level groups, opened as the program's
// database in edit mode.
void OpenDatabaseFile(const QString& fileName, const QString& password,
                      const QStringList& groups = {});
// Frees what the tests made: the controller, the clipboard cleaner, the
// library connections; the database is emptied first.
void ReleaseSession();

// The titles of the tokens of a group (by path below the root, "" for the
// root) in a file; empty when it cannot be opened.
QStringList TokenTitlesOf(const QString& fileName, const QString& password,
                          const QString& groupTitle = QString());

} // namespace SessionTest
