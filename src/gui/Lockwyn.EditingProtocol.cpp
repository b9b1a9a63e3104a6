#include "Lockwyn.EditingProtocol.h"

#include "Lockwyn.LibraryConnections.h"

using namespace Lockwyn;

namespace EditingProtocol {

void RebuildViews(ILockwynApp& app)
{
    IMainView* main = app.GetMainView();
    if (!main)
        return;
    if (ITokenGroupTreeView* tree = main->GetTokenGroupTreeView())
        tree->UpdateView();
    if (ITokenListView* list = main->GetTokenListView())
        list->Reload();
}

void Execute(ILockwynApp& app, const std::shared_ptr<IOperation>& operation,
             const std::function<void()>& refreshViews)
{
    ISelectionHistory* selection = app.GetSelectionHistory();
    selection->SaveSelection(operation, TSelectionHistoryPhase::shpBeforeOperation);
    GetLockwyn()->GetOperationHistory()->Execute(operation);
    if (refreshViews)
        refreshViews();
    selection->SaveSelection(operation, TSelectionHistoryPhase::shpAfterOperation);
    app.SaveDatabase();
}

// Undo and redo change the database like any edit, so read-only mode is left
// first; otherwise the change would stay in memory and fail to save.
void Undo(ILockwynApp& app)
{
    if (!GetLockwyn()->GetOperationHistory()->GetCanUndo() || !app.RequestEditMode())
        return;
    const auto operation = GetLockwyn()->GetOperationHistory()->Undo();
    if (!operation)
        return;
    if (IMainView* main = app.GetMainView())
        main->UpdateSearchFilter();
    RebuildViews(app);
    app.GetSelectionHistory()->RestoreSelection(operation,
                                                TSelectionHistoryPhase::shpBeforeOperation);
    app.SaveDatabase();
}

void Redo(ILockwynApp& app)
{
    if (!GetLockwyn()->GetOperationHistory()->GetCanRedo() || !app.RequestEditMode())
        return;
    const auto operation = GetLockwyn()->GetOperationHistory()->Redo();
    if (!operation)
        return;
    RebuildViews(app);
    app.GetSelectionHistory()->RestoreSelection(operation,
                                                TSelectionHistoryPhase::shpAfterOperation);
    app.SaveDatabase();
}

} // namespace EditingProtocol
