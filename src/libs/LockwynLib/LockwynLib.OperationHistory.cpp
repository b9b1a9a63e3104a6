#include "LockwynLib.OperationHistory.h"

#include "LockwynLib.Operation.h"

namespace Lockwyn {

void TOperationHistory::Execute(const std::shared_ptr<IOperation>& operation)
{
    Executable(operation).Execute();
    FUndo.push_back(operation);
    FRedo.clear();
}

std::shared_ptr<IOperation> TOperationHistory::Undo()
{
    if (FUndo.empty())
        return nullptr;
    auto operation = FUndo.back();
    Executable(operation).Undo();
    FUndo.pop_back();
    FRedo.push_back(operation);
    return operation;
}

std::shared_ptr<IOperation> TOperationHistory::Redo()
{
    if (FRedo.empty())
        return nullptr;
    auto operation = FRedo.back();
    Executable(operation).Execute();
    FRedo.pop_back();
    FUndo.push_back(operation);
    return operation;
}

void TOperationHistory::Clear()
{
    FUndo.clear();
    FRedo.clear();
}

} // namespace Lockwyn
