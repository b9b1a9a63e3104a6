#include "LockwynLib.ModelData.h"

#include "LockwynLib.AutoLoginInfo.h"

namespace Lockwyn {

TMsecs NowMsecs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

QDateTime ToDateTime(TMsecs msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs);
}

TMsecs ToMsecs(const QDateTime& dateTime)
{
    return dateTime.isValid() ? dateTime.toMSecsSinceEpoch() : 0;
}

bool THistoryEntryData::operator==(const THistoryEntryData& other) const
{
    if (Time != other.Time || Kind != other.Kind || !(First == other.First))
        return false;
    if (!Second || !other.Second)
        return !Second && !other.Second;
    return *Second == *other.Second;
}

bool TTokenData::SameValues(const TTokenData& other) const
{
    return Fields == other.Fields && Expires == other.Expires && Expiration == other.Expiration &&
           UseManualAutoLogin == other.UseManualAutoLogin &&
           CustomProperties == other.CustomProperties && History == other.History &&
           SameAutoLogin(AutoLogin, other.AutoLogin);
}

bool TGroupData::SameValues(const TGroupData& other) const
{
    return Title == other.Title && Expires == other.Expires && Expiration == other.Expiration &&
           Template == other.Template;
}

THistoryEntryData CreatedEntry(const TTokenData& token, TMsecs time)
{
    THistoryEntryData entry;
    entry.Time = time;
    entry.Kind = TTokenHistoryEntryKind::thekCreated;
    for (int field = 0; field < TokenFieldCount; ++field)
        entry.First.Set(field, token.Fields[field]);
    entry.First.CustomProperties = token.CustomProperties;
    return entry;
}

namespace {

// Old values of added, changed and removed properties, and new values of the
// added and changed ones.
void DiffCustomProperties(const QList<TTokenCustomProperty>& before,
                          const QList<TTokenCustomProperty>& after, TTokenSnapshotData& first,
                          TTokenSnapshotData& second)
{
    auto find = [](const QList<TTokenCustomProperty>& list, const QString& name) {
        for (const auto& property : list)
            if (property.GetName() == name)
                return &property;
        return static_cast<const TTokenCustomProperty*>(nullptr);
    };
    for (const auto& old : before) {
        const auto* now = find(after, old.GetName());
        if (!now) {
            first.CustomProperties.append(old);
        } else if (now->GetValue() != old.GetValue()) {
            first.CustomProperties.append(old);
            second.CustomProperties.append(*now);
        }
    }
    for (const auto& now : after) {
        if (!find(before, now.GetName())) {
            first.CustomProperties.append(TTokenCustomProperty(now.GetName(), QString()));
            second.CustomProperties.append(now);
        }
    }
}

} // namespace

bool ChangedEntry(const TTokenData& before, const TTokenData& after, TMsecs time,
                  THistoryEntryData& entry)
{
    TTokenSnapshotData first;
    auto second = std::make_shared<TTokenSnapshotData>();
    for (int field = 0; field < TokenFieldCount; ++field) {
        if (before.Fields[field] != after.Fields[field]) {
            first.Set(field, before.Fields[field]);
            second->Set(field, after.Fields[field]);
        }
    }
    if (before.CustomProperties != after.CustomProperties)
        DiffCustomProperties(before.CustomProperties, after.CustomProperties, first, *second);
    if (first.Present == 0 && first.CustomProperties.isEmpty())
        return false;
    entry.Time = time;
    entry.Kind = TTokenHistoryEntryKind::thekChanged;
    entry.First = std::move(first);
    entry.Second = std::move(second);
    return true;
}

void RenewIDs(TGroupTreeData& tree)
{
    tree.Group.ID = QUuid::createUuid();
    for (auto& token : tree.Tokens)
        token.ID = QUuid::createUuid();
    for (auto& group : tree.Groups)
        RenewIDs(group);
}

} // namespace Lockwyn
