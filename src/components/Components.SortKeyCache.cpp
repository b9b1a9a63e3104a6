#include "Components.SortKeyCache.h"

#include <algorithm>
#include <iterator>

TSortKeyCache::TSortKeyCache()
{
    SetUpCollator();
}

QCollator TSortKeyCache::NewCollator()
{
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

void TSortKeyCache::SetUpCollator()
{
    FLocale = QLocale();
    FCollator = NewCollator();
}

void TSortKeyCache::BeginSort()
{
    // The user's language may have changed since the ranks were made.
    if (QLocale() != FLocale) {
        Clear();
        SetUpCollator();
    }
    ++FSort;
}

qsizetype TSortKeyCache::Add(const QString& text)
{
    auto found = FIndex.constFind(text);
    if (found == FIndex.constEnd()) {
        FEntries.push_back({FCollator.sortKey(text), 0, 0});
        found = FIndex.insert(text, qsizetype(FEntries.size()) - 1);
        FUnranked.push_back({&FEntries.back().Key, *found});
    }
    FEntries[std::size_t(*found)].LastSort = FSort;
    return *found;
}

void TSortKeyCache::Update()
{
    if (FUnranked.empty())
        return;
    auto byKey = [](const TRanked& a, const TRanked& b) {
        return a.Key->compare(*b.Key) < 0;
    };
    std::sort(FUnranked.begin(), FUnranked.end(), byKey);
    std::vector<TRanked> ranked;
    ranked.reserve(FRanked.size() + FUnranked.size());
    std::merge(FRanked.begin(), FRanked.end(), FUnranked.begin(), FUnranked.end(),
               std::back_inserter(ranked), byKey);
    FRanked = std::move(ranked);
    FUnranked.clear();
    int rank = 0;
    for (std::size_t i = 0; i < FRanked.size(); ++i) {
        if (i > 0 && FRanked[i - 1].Key->compare(*FRanked[i].Key) != 0)
            ++rank;
        FEntries[std::size_t(FRanked[i].Id)].Rank = rank;
    }
}

bool TSortKeyCache::IsStale(const TEntry& entry) const
{
    return entry.LastSort + cKeptForSorts <= FSort;
}

void TSortKeyCache::EndSort()
{
    // Texts no recent sort asked for go once they are a quarter of all.
    const auto stale = std::count_if(FEntries.cbegin(), FEntries.cend(),
                                     [this](const TEntry& entry) { return IsStale(entry); });
    if (stale * 4 > qsizetype(FEntries.size()))
        Prune();
}

void TSortKeyCache::Prune()
{
    Update();
    std::vector<qsizetype> newId(FEntries.size(), -1);
    std::deque<TEntry> entries;
    std::vector<TRanked> ranked;
    for (const TRanked& item : FRanked) {
        const TEntry& entry = FEntries[std::size_t(item.Id)];
        if (IsStale(entry))
            continue;
        newId[std::size_t(item.Id)] = qsizetype(entries.size());
        entries.push_back(entry);
        ranked.push_back({&entries.back().Key, qsizetype(entries.size()) - 1});
    }
    QHash<QString, qsizetype> index;
    index.reserve(qsizetype(entries.size()));
    for (auto it = FIndex.cbegin(); it != FIndex.cend(); ++it)
        if (const qsizetype id = newId[std::size_t(it.value())]; id >= 0)
            index.insert(it.key(), id);
    FIndex = std::move(index);
    FEntries = std::move(entries);
    FRanked = std::move(ranked);
}

void TSortKeyCache::Clear()
{
    FIndex.clear();
    FEntries.clear();
    FRanked.clear();
    FUnranked.clear();
}
