#include "LockwynLib.Operation.h"

#include "LockwynLib.TokenGroup.h"
#include "LockwynLib.TokenStorage.h"

#include <stdexcept>

namespace Lockwyn {

void TExecutable::Execute()
{
    if (FExecuted)
        throw std::logic_error("The operation has been executed already");
    DoExecute();
    FExecuted = true;
}

void TExecutable::Undo()
{
    if (!FExecuted)
        throw std::logic_error("The operation has not been executed");
    DoUndo();
    FExecuted = false;
}

TExecutable& Executable(const std::shared_ptr<IOperation>& operation)
{
    auto* executable = dynamic_cast<TExecutable*>(operation.get());
    if (!executable)
        throw std::invalid_argument("Not an operation of this library");
    return *executable;
}

TStorageLink::TStorageLink(TTokenStorage& storage) : FStorage(storage.weak_from_this()) {}

TTokenStorage& TStorageLink::Storage() const
{
    auto storage = FStorage.lock();
    if (!storage)
        throw std::logic_error("The database of the operation is gone");
    return *storage;
}

TTokenGroup& TStorageLink::Group(const QUuid& id) const
{
    auto* group = Storage().Root().FindGroup(id);
    if (!group)
        throw std::logic_error("The group of the operation is not in the database");
    return *group;
}

void TCompositeOperation::Add(const std::shared_ptr<IOperation>& operation)
{
    if (FStarted)
        throw std::logic_error("The composite operation has been executed already");
    Executable(operation);
    FOperations.push_back(operation);
}

void TCompositeOperation::DoExecute()
{
    FStarted = true;
    std::size_t done = 0;
    try {
        for (; done < FOperations.size(); ++done)
            Executable(FOperations[done]).Execute();
    } catch (...) {
        while (done > 0)
            Executable(FOperations[--done]).Undo();
        throw;
    }
}

void TCompositeOperation::DoUndo()
{
    for (auto it = FOperations.rbegin(); it != FOperations.rend(); ++it)
        Executable(*it).Undo();
}

} // namespace Lockwyn
