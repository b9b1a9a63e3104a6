#pragma once
// Remembers the selection of the group tree and the token list before and
// after each operation, so that undo and redo show the same selection again.

#include <QList>
#include <QUuid>

#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "Lockwyn.Interfaces.h"

class TSelectionHistory final : public ISelectionHistory
{
public:
    // The views are reached through the controller's main view.
    explicit TSelectionHistory(ILockwynApp& app) : FApp(app) {}

    int GetCount() override { return int(FSelectionDictionary.size()); }
    void Clear() override { FSelectionDictionary.clear(); }
    void SaveSelection(const std::shared_ptr<Lockwyn::IOperation>& operation,
                       TSelectionHistoryPhase phase) override;
    bool RestoreSelection(const std::shared_ptr<Lockwyn::IOperation>& operation,
                          TSelectionHistoryPhase phase) override;
    void Delete(const std::shared_ptr<Lockwyn::IOperation>& operation) override;

private:
    struct TSelectionHistoryItem
    {
        // The entry keeps its operation alive, so the key's address stays its own.
        std::shared_ptr<Lockwyn::IOperation> Operation;
        QUuid SelectedGroupID;
        // Empty optional when no token was selected.
        std::optional<QList<QUuid>> SelectedTokenIDList;
    };
    using TKey = std::pair<const Lockwyn::IOperation*, TSelectionHistoryPhase>;

    ILockwynApp& FApp;
    std::map<TKey, TSelectionHistoryItem> FSelectionDictionary;
};
