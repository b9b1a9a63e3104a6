#pragma once
// Undo and redo stacks of executed operations.

#include "LockwynLib.Interfaces.h"

#include <vector>

namespace Lockwyn {

class TOperationHistory : public IOperationHistory
{
public:
    void Execute(const std::shared_ptr<IOperation>& operation) override;
    std::shared_ptr<IOperation> Undo() override;
    std::shared_ptr<IOperation> Redo() override;
    bool GetCanUndo() override { return !FUndo.empty(); }
    bool GetCanRedo() override { return !FRedo.empty(); }
    int GetCount() override { return int(FUndo.size() + FRedo.size()); }
    void Clear() override;

private:
    std::vector<std::shared_ptr<IOperation>> FUndo;
    std::vector<std::shared_ptr<IOperation>> FRedo;
};

} // namespace Lockwyn
