#include "Components.SortKeyCache.h"

TSortKeyCache::TSortKeyCache()
{
    SetUpCollator();
}

void TSortKeyCache::SetUpCollator()
{
    FLocale = QLocale();
    FCollator = QCollator(FLocale);
    FCollator.setCaseSensitivity(Qt::CaseSensitive);
}

void TSortKeyCache::BeginSort()
{
    // The user's language may have changed since the keys were made.
    if (QLocale() != FLocale) {
        Clear();
        SetUpCollator();
    }
    ++FSort;
    FUsed = 0;
}

const QCollatorSortKey& TSortKeyCache::Key(const QString& text)
{
    auto found = FIndex.constFind(text);
    if (found == FIndex.constEnd()) {
        FEntries.push_back({FCollator.sortKey(text), 0});
        found = FIndex.insert(text, qsizetype(FEntries.size()) - 1);
    }
    TEntry& entry = FEntries[std::size_t(*found)];
    if (entry.Sort != FSort) {
        entry.Sort = FSort;
        ++FUsed;
    }
    return entry.Key;
}

void TSortKeyCache::EndSort()
{
    // Rebuilt when most keys went unused; a lock, which empties the list,
    // always leaves the cache empty.
    if (FUsed * 2 >= FIndex.size() && FUsed > 0)
        return;
    QHash<QString, qsizetype> index;
    std::deque<TEntry> entries;
    index.reserve(FUsed);
    for (auto it = FIndex.cbegin(); it != FIndex.cend(); ++it) {
        TEntry& entry = FEntries[std::size_t(it.value())];
        if (entry.Sort != FSort)
            continue;
        entries.push_back(std::move(entry));
        index.insert(it.key(), qsizetype(entries.size()) - 1);
    }
    FIndex = std::move(index);
    FEntries = std::move(entries);
}

void TSortKeyCache::Clear()
{
    FIndex.clear();
    FEntries.clear();
}
