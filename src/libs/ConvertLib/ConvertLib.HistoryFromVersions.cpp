#include "ConvertLib.HistoryFromVersions.h"

namespace Lockwyn {

namespace {

void RecordField(const QString& before, const QString& after, Nullable<QString>& first,
                 Nullable<QString>& second)
{
    if (before == after)
        return;
    first = before;
    second = after;
}

const TTokenCustomProperty* Find(const QList<TTokenCustomProperty>& properties, const QString& name)
{
    for (const auto& property : properties)
        if (property.GetName() == name)
            return &property;
    return nullptr;
}

// As the storage library records an edit: old values of removed, changed and
// added properties (empty for added ones), new values of changed and added ones.
void RecordCustomProperties(const QList<TTokenCustomProperty>& before,
                            const QList<TTokenCustomProperty>& after, TTokenHistoryEntry& entry)
{
    for (const auto& old : before) {
        const auto* now = Find(after, old.GetName());
        if (!now) {
            entry.First.CustomProperties.append(old);
        } else if (now->GetValue() != old.GetValue()) {
            entry.First.CustomProperties.append(old);
            entry.Second.CustomProperties.append(*now);
        }
    }
    for (const auto& now : after) {
        if (!Find(before, now.GetName())) {
            entry.First.CustomProperties.append(TTokenCustomProperty(now.GetName(), QString()));
            entry.Second.CustomProperties.append(now);
        }
    }
}

TTokenFieldsSnapshot AllFields(const TTokenRecord& version)
{
    TTokenFieldsSnapshot fields;
    fields.Title = version.Title;
    fields.UserName = version.UserName;
    fields.Password = version.Password;
    fields.URL = version.URL;
    fields.Notes = version.Notes;
    fields.CustomProperties = version.CustomProperties;
    return fields;
}

std::optional<TTokenHistoryEntry> Change(const TTokenRecord& before, const TTokenRecord& after)
{
    TTokenHistoryEntry entry;
    entry.Kind = TTokenHistoryEntryKind::thekChanged;
    entry.DateTime = after.ModificationDate;
    RecordField(before.Title, after.Title, entry.First.Title, entry.Second.Title);
    RecordField(before.UserName, after.UserName, entry.First.UserName, entry.Second.UserName);
    RecordField(before.Password, after.Password, entry.First.Password, entry.Second.Password);
    RecordField(before.URL, after.URL, entry.First.URL, entry.Second.URL);
    RecordField(before.Notes, after.Notes, entry.First.Notes, entry.Second.Notes);
    RecordCustomProperties(before.CustomProperties, after.CustomProperties, entry);
    if (entry.First == TTokenFieldsSnapshot{})
        return std::nullopt;
    return entry;
}

} // namespace

QList<TTokenHistoryEntry> HistoryFromVersions(const QList<TTokenRecord>& versions)
{
    QList<TTokenHistoryEntry> history;
    if (versions.isEmpty())
        return history;
    TTokenHistoryEntry created;
    created.Kind = TTokenHistoryEntryKind::thekCreated;
    created.DateTime = versions.first().CreationDate;
    created.First = AllFields(versions.first());
    history.prepend(created);
    for (qsizetype i = 1; i < versions.size(); ++i)
        if (auto change = Change(versions.at(i - 1), versions.at(i)))
            history.prepend(*change);
    return history;
}

} // namespace Lockwyn
