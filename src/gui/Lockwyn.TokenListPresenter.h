#pragma once
// The rows of the token list: the tokens of the group selected in the tree,
// or the search results, each shown in five columns (title, user name,
// password, URL, notes). Sorting compares the real values, never the masks
// or the path form, and breaks ties by title, user name and notes.

#include <QString>

#include <memory>

#include "Components.ListViewPresenter.h"
#include "LockwynLib.Interfaces.h"

class IMainView;

using TTokenRef = std::shared_ptr<Lockwyn::IToken>;

class TTokenListPresenter : public TListViewPresenter<TTokenRef>
{
public:
    enum TColumn
    {
        tcTitle = 0,
        tcUserName = 1,
        tcPassword = 2,
        tcURL = 3,
        tcNotes = 4,
        tcCount = 5,
    };

    explicit TTokenListPresenter(TOvListView* AListView);

    // Reads the source and the search state from the main view, then
    // refills the rows, keeping the selection, and marks the search text.
    void Reload() override;

    // The search text is active and the tree's search-results node selected.
    bool IsSearchResultsMode() const { return FSearchResultsMode; }
    // The cell shows a mask for this column under the current settings.
    static bool IsMasked(int column);

    // The title as the search results show it: the group's path without the
    // root's title, a backslash, the token's title ("\Mail\Post").
    static QString PathTitle(Lockwyn::IToken& token, qsizetype rootTitleLength);

protected:
    int GetSourceCount() const override { return int(FSource.size()); }
    TTokenRef GetSourceItem(int index) const override { return FSource.value(index); }
    bool FilterItem(const TTokenRef& item) const override;
    int GetColumnCount() const override { return tcCount; }
    QString GetItemText(const TTokenRef& item, int column) const override;
    void* GetItemDataPointer(const TTokenRef& item) const override { return item.get(); }
    QList<int> GetSortFields(int column) const override;
    QString GetSortText(const TTokenRef& item, int field) const override;

private:
    void ReadSearchState(IMainView* main);

    Lockwyn::ITokenList FSource;
    bool FSearchActive = false;
    bool FSearchResultsMode = false;
    QString FSearchText;
    qsizetype FRootTitleLength = 0;
};

// The group holding most of the tokens (on a tie, the one that reached that
// count first in the list's order); null for an empty list.
std::shared_ptr<Lockwyn::ITokenGroup>
GetMostReferencedParentGroup(const Lockwyn::ITokenList& tokens);
