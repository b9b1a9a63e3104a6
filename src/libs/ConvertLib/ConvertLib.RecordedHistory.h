#pragma once
// A token history made of given entries, handed to a new token of the storage
// library through ITokenHistory::Assign.

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

class TRecordedHistory : public ITokenHistory
{
public:
    explicit TRecordedHistory(QList<TTokenHistoryEntry> entries = {});

    int GetCount() override;
    QList<TTokenHistoryEntry> GetEntries() override;
    void Clear() override;
    void Assign(const std::shared_ptr<ITokenHistory>& source) override;
    std::shared_ptr<ICloner<ITokenHistory>> GetCloner() override;
    std::shared_ptr<IComparer<ITokenHistory>> GetComparer() override;

private:
    QList<TTokenHistoryEntry> FEntries;
};

} // namespace Lockwyn
