#include "LockwynLib.TokenHistory.h"

#include "LockwynLib.Cloning.h"

namespace Lockwyn {

namespace {

Nullable<QString> SnapshotValue(const TTokenSnapshotData& data, TTokenField field)
{
    return data.Has(int(field)) ? Nullable<QString>(data.Values[int(field)]) : Nullable<QString>();
}

TTokenFieldsSnapshot ToSnapshot(const TTokenSnapshotData& data)
{
    TTokenFieldsSnapshot snapshot;
    snapshot.Title = SnapshotValue(data, TTokenField::tfTitle);
    snapshot.UserName = SnapshotValue(data, TTokenField::tfUserName);
    snapshot.Password = SnapshotValue(data, TTokenField::tfPassword);
    snapshot.URL = SnapshotValue(data, TTokenField::tfURL);
    snapshot.Notes = SnapshotValue(data, TTokenField::tfNotes);
    snapshot.CustomProperties = data.CustomProperties;
    return snapshot;
}

void SetFromNullable(TTokenSnapshotData& data, TTokenField field, const Nullable<QString>& value)
{
    if (value.GetHasValue())
        data.Set(int(field), value.GetValue());
}

TTokenSnapshotData FromSnapshot(const TTokenFieldsSnapshot& snapshot)
{
    TTokenSnapshotData data;
    SetFromNullable(data, TTokenField::tfTitle, snapshot.Title);
    SetFromNullable(data, TTokenField::tfUserName, snapshot.UserName);
    SetFromNullable(data, TTokenField::tfPassword, snapshot.Password);
    SetFromNullable(data, TTokenField::tfURL, snapshot.URL);
    SetFromNullable(data, TTokenField::tfNotes, snapshot.Notes);
    data.CustomProperties = snapshot.CustomProperties;
    return data;
}

} // namespace

TTokenHistoryEntry ToHistoryEntry(const THistoryEntryData& data)
{
    TTokenHistoryEntry entry;
    entry.Kind = data.Kind;
    entry.DateTime = ToDateTime(data.Time);
    entry.First = ToSnapshot(data.First);
    if (data.Second)
        entry.Second = ToSnapshot(*data.Second);
    return entry;
}

THistoryEntryData FromHistoryEntry(const TTokenHistoryEntry& entry)
{
    THistoryEntryData data;
    data.Kind = entry.Kind;
    data.Time = ToMsecs(entry.DateTime);
    data.First = FromSnapshot(entry.First);
    if (entry.Kind == TTokenHistoryEntryKind::thekChanged)
        data.Second = std::make_shared<const TTokenSnapshotData>(FromSnapshot(entry.Second));
    return data;
}

THistoryEntryData HistoryClearedEntry(TMsecs time)
{
    THistoryEntryData entry;
    entry.Time = time;
    entry.Kind = TTokenHistoryEntryKind::thekHistoryCleared;
    return entry;
}

QList<TTokenHistoryEntry> TTokenHistory::GetEntries()
{
    QList<TTokenHistoryEntry> entries;
    entries.reserve(Entries().size());
    for (const auto& data : Entries())
        entries.append(ToHistoryEntry(data));
    return entries;
}

void TTokenHistory::Clear()
{
    FEntries.Edit() = THistoryData{HistoryClearedEntry(NowMsecs())};
}

void TTokenHistory::Assign(const std::shared_ptr<ITokenHistory>& source)
{
    auto entries = HistoryEntries(source);
    FEntries.Edit() = std::move(entries);
}

std::shared_ptr<ICloner<ITokenHistory>> TTokenHistory::GetCloner()
{
    return MakeCloner<ITokenHistory>([entries = Entries()] {
        return std::make_shared<TTokenHistory>(TListAccess<THistoryEntryData>::Own(entries));
    });
}

std::shared_ptr<IComparer<ITokenHistory>> TTokenHistory::GetComparer()
{
    return MakeComparer<ITokenHistory>(
        [entries = Entries()](const auto& other) { return entries == HistoryEntries(other); });
}

THistoryData HistoryEntries(const std::shared_ptr<ITokenHistory>& source)
{
    if (!source)
        return {};
    if (auto* own = dynamic_cast<TTokenHistory*>(source.get()))
        return own->Entries();
    THistoryData entries;
    for (const auto& entry : source->GetEntries())
        entries.append(FromHistoryEntry(entry));
    return entries;
}

} // namespace Lockwyn
