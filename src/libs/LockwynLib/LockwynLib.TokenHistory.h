#pragma once
// ITokenHistory over a list of entries, and the conversion of entries between
// their stored and their interface form.

#include "LockwynLib.ListAccess.h"
#include "LockwynLib.ModelData.h"

namespace Lockwyn {

class TTokenHistory : public ITokenHistory
{
public:
    explicit TTokenHistory(TListAccess<THistoryEntryData> entries) : FEntries(std::move(entries)) {}
    const THistoryData& Entries() const { return FEntries.Get(); }

    int GetCount() override { return int(Entries().size()); }
    QList<TTokenHistoryEntry> GetEntries() override;
    void Clear() override;
    void Assign(const std::shared_ptr<ITokenHistory>& source) override;
    std::shared_ptr<ICloner<ITokenHistory>> GetCloner() override;
    std::shared_ptr<IComparer<ITokenHistory>> GetComparer() override;

private:
    TListAccess<THistoryEntryData> FEntries;
};

TTokenHistoryEntry ToHistoryEntry(const THistoryEntryData& data);
THistoryEntryData FromHistoryEntry(const TTokenHistoryEntry& entry);
// The entries of any implementation.
THistoryData HistoryEntries(const std::shared_ptr<ITokenHistory>& source);
// The single entry a cleared history keeps.
THistoryEntryData HistoryClearedEntry(TMsecs time);

} // namespace Lockwyn
