#include "Lockwyn.SelectionHistory.h"

using namespace Lockwyn;

void TSelectionHistory::SaveSelection(const std::shared_ptr<IOperation>& operation,
                                      TSelectionHistoryPhase phase)
{
    IMainView* main = FApp.GetMainView();
    ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr;
    ITokenListView* list = main ? main->GetTokenListView() : nullptr;

    TSelectionHistoryItem item{operation, {}, {}};
    if (const auto group = tree ? tree->GetSelectedGroup() : nullptr)
        item.SelectedGroupID = group->GetID();
    if (const auto tokens = list ? list->GetSelectedTokens() : std::nullopt) {
        QList<QUuid> ids;
        ids.reserve(tokens->size());
        for (const auto& token : *tokens)
            ids.append(token->GetID());
        item.SelectedTokenIDList = std::move(ids);
    }
    FSelectionDictionary.insert_or_assign(TKey{operation.get(), phase}, std::move(item));
}

bool TSelectionHistory::RestoreSelection(const std::shared_ptr<IOperation>& operation,
                                         TSelectionHistoryPhase phase)
{
    const auto found = FSelectionDictionary.find(TKey{operation.get(), phase});
    if (found == FSelectionDictionary.end())
        return false;
    const TSelectionHistoryItem& item = found->second;
    IMainView* main = FApp.GetMainView();
    ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr;
    ITokenListView* list = main ? main->GetTokenListView() : nullptr;
    const auto root = FApp.GetRootGroup();

    if (tree)
        tree->SelectGroup(item.SelectedGroupID.isNull()
                              ? nullptr
                              : root->FindGroupByID(item.SelectedGroupID, true));
    if (!list)
        return true;
    if (!item.SelectedTokenIDList) {
        list->SelectToken(nullptr);
        return true;
    }
    // Tokens are looked up below the group the tree shows now; those that
    // are gone are skipped.
    std::shared_ptr<ITokenGroup> scope = tree ? tree->GetSelectedGroup() : nullptr;
    if (!scope)
        scope = root;
    ITokenList tokens;
    for (const QUuid& id : *item.SelectedTokenIDList) {
        if (auto token = scope->FindTokenByID(id, true))
            tokens.append(std::move(token));
    }
    list->SelectTokens(tokens);
    return true;
}

void TSelectionHistory::Delete(const std::shared_ptr<IOperation>& operation)
{
    FSelectionDictionary.erase(TKey{operation.get(), TSelectionHistoryPhase::shpBeforeOperation});
    FSelectionDictionary.erase(TKey{operation.get(), TSelectionHistoryPhase::shpAfterOperation});
}
