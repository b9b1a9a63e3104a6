#pragma once
// The inner side of operations: execute and undo, run by the operation
// history. Operations keep IDs and values, never live objects, and find their
// objects again in the storage each time they run.

#include "LockwynLib.Interfaces.h"

#include <QUuid>

#include <memory>

namespace Lockwyn {

class TTokenGroup;
class TTokenStorage;

class TExecutable
{
public:
    virtual ~TExecutable() = default;
    void Execute();
    void Undo();

protected:
    virtual void DoExecute() = 0;
    virtual void DoUndo() = 0;

private:
    bool FExecuted = false;
};

// The executable side of an operation made by this library.
TExecutable& Executable(const std::shared_ptr<IOperation>& operation);

// Access to the storage an operation was made for.
class TStorageLink
{
public:
    explicit TStorageLink(TTokenStorage& storage);
    TTokenStorage& Storage() const;
    TTokenGroup& Group(const QUuid& id) const;

private:
    std::weak_ptr<TTokenStorage> FStorage;
};

template <typename TInterface>
class TOperation : public TInterface, public TExecutable, protected TStorageLink
{
public:
    explicit TOperation(TTokenStorage& storage) : TStorageLink(storage) {}
};

class TCompositeOperation : public ICompositeOperation, public TExecutable
{
public:
    void Add(const std::shared_ptr<IOperation>& operation) override;

protected:
    void DoExecute() override;
    void DoUndo() override;

private:
    std::vector<std::shared_ptr<IOperation>> FOperations;
    bool FStarted = false;
};

} // namespace Lockwyn
