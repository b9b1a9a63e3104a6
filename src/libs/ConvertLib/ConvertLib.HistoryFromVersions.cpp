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

QString ValueOf(const QList<TTokenCustomProperty>& properties, const QString& name,
                bool* found = nullptr)
{
    for (const auto& property : properties)
        if (property.GetName() == name) {
            if (found)
                *found = true;
            return property.GetValue();
        }
    if (found)
        *found = false;
    return {};
}

void RecordCustomProperties(const QList<TTokenCustomProperty>& before,
                            const QList<TTokenCustomProperty>& after, TTokenHistoryEntry& entry)
{
    for (const auto& old : before) {
        bool kept = false;
        const QString now = ValueOf(after, old.GetName(), &kept);
        if (!kept || now != old.GetValue())
            entry.First.CustomProperties.append(old);
    }
    for (const auto& now : after) {
        bool existed = false;
        const QString old = ValueOf(before, now.GetName(), &existed);
        if (!existed || old != now.GetValue())
            entry.Second.CustomProperties.append(now);
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
    if (entry.First == entry.Second)
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
    created.Second = AllFields(versions.first());
    history.prepend(created);
    for (qsizetype i = 1; i < versions.size(); ++i)
        if (auto change = Change(versions.at(i - 1), versions.at(i)))
            history.prepend(*change);
    return history;
}

} // namespace Lockwyn
