#include "Lockwyn.TokenListPresenter.h"

#include <QHash>

#include "Lockwyn.App.h"
#include "Lockwyn.Interfaces.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;

TTokenListPresenter::TTokenListPresenter(TOvListView* AListView) : TListViewPresenter(AListView) {}

void TTokenListPresenter::ReadSearchState(IMainView* main)
{
    ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr;
    FSearchActive = main && main->IsSearchActive();
    FSearchText = main ? main->GetSearchText() : QString();
    FSearchResultsMode = FSearchActive && tree && tree->IsSearchResultsSelected();
    FSource.clear();
    if (FSearchResultsMode) {
        if (auto found = main->GetFilteredTokens())
            FSource = std::move(*found);
    } else if (const auto group = tree ? tree->GetSelectedGroup() : nullptr) {
        FSource = group->GetTokens();
    }
    const auto root = FSearchResultsMode ? LockwynApp().GetRootGroup() : nullptr;
    FRootTitleLength = root ? root->GetTitle().size() : 0;
}

void TTokenListPresenter::Reload()
{
    IMainView* main = LockwynApp().GetMainView();
    ReadSearchState(main);
    if (TOvListColumn* title = FListView->Columns().Item(tcTitle))
        title->SetEllipsisStyle(FSearchResultsMode ? TEllipsisStyle::esPathEllipsis
                                                   : TEllipsisStyle::esEndEllipsis);
    TListViewPresenter::Reload();
    // The rows hold the tokens they show; the source is not kept beyond that.
    FSource.clear();
    FListView->SetHighlightText(FSearchText);
}

bool TTokenListPresenter::FilterItem(const TTokenRef& item) const
{
    if (!FSearchActive || FSearchResultsMode)
        return true;
    const auto matcher = item->GetMatcher();
    return matcher && matcher->Matches(FSearchText);
}

bool TTokenListPresenter::IsMasked(int column)
{
    return (column == tcUserName && GUISettings().ViewHideUserName()) ||
           (column == tcPassword && GUISettings().ViewHidePassword());
}

QString TTokenListPresenter::PathTitle(IToken& token, qsizetype rootTitleLength)
{
    const auto group = token.GetGroup();
    QString path = group ? group->GetPath().mid(rootTitleLength) : QString();
    if (!path.endsWith(u'\\'))
        path += u'\\';
    return path + token.GetTitle();
}

QString TTokenListPresenter::GetItemText(const TTokenRef& item, int column) const
{
    if (IsMasked(column))
        return LocalizedStrings().FPasswordHideMask;
    switch (column) {
    case tcTitle:
        return FSearchResultsMode ? PathTitle(*item, FRootTitleLength) : item->GetTitle();
    case tcNotes:
        return item->GetNotes().replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    default:
        return GetSortText(item, column);
    }
}

QList<int> TTokenListPresenter::GetSortFields(int column) const
{
    QList<int> fields{column};
    for (int tieBreak : {int(tcTitle), int(tcUserName), int(tcNotes)})
        if (!fields.contains(tieBreak))
            fields.append(tieBreak);
    return fields;
}

QString TTokenListPresenter::GetSortText(const TTokenRef& item, int field) const
{
    switch (field) {
    case tcTitle:
        return item->GetTitle();
    case tcUserName:
        return item->GetUserName();
    case tcPassword:
        return item->GetPassword();
    case tcURL:
        return item->GetURL();
    case tcNotes:
        return item->GetNotes();
    default:
        return {};
    }
}

std::shared_ptr<ITokenGroup> GetMostReferencedParentGroup(const ITokenList& tokens)
{
    QHash<ITokenGroup*, int> counts;
    std::shared_ptr<ITokenGroup> best;
    int bestCount = 0;
    for (const auto& token : tokens) {
        auto group = token ? token->GetGroup() : nullptr;
        if (!group)
            continue;
        const int count = ++counts[group.get()];
        if (count > bestCount) {
            bestCount = count;
            best = std::move(group);
        }
    }
    return best;
}
