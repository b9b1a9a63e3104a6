#pragma once
// Locale-aware, case-sensitive ordering of many texts, fast enough to sort
// 100,000 rows at every keystroke. Each text gets a rank: texts in collation
// order have ascending ranks, texts that collate equal share one. A rank is
// computed once per text (from its collation key) and kept between sorts, so
// sorting rows again compares integers. Texts that none of the last eight
// sorts asked for are dropped; the owner clears the cache when its list
// empties (as when the program locks).
//
// One sort: BeginSort; Add every text to be ranked; Update; Rank; EndSort.

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QString>

#include <deque>
#include <vector>

class TSortKeyCache
{
public:
    TSortKeyCache();

    void BeginSort();
    // Takes a text into this sort; the id is valid until EndSort.
    qsizetype Add(const QString& text);
    // Ranks the texts added since the last Update among all others.
    void Update();
    int Rank(qsizetype id) const { return FEntries[std::size_t(id)].Rank; }
    void EndSort();

    // The collation ranks follow: the user's locale, case-sensitive.
    static QCollator NewCollator();
    qsizetype Size() const { return FIndex.size(); }
    void Clear();

private:
    struct TEntry
    {
        QCollatorSortKey Key;
        int Rank;
        quint64 LastSort; // the last sort that asked for it
    };

    // Sorts a text stays for after the last one that asked for it.
    static constexpr quint64 cKeptForSorts = 8;

    void SetUpCollator();
    bool IsStale(const TEntry& entry) const;
    void Prune();

    QLocale FLocale;
    QCollator FCollator;
    QHash<QString, qsizetype> FIndex;
    std::deque<TEntry> FEntries;
    // A key has no cheap move: sorts move pointers to the entries' keys.
    struct TRanked
    {
        const QCollatorSortKey* Key;
        qsizetype Id;
    };
    std::vector<TRanked> FRanked;   // in rank order
    std::vector<TRanked> FUnranked; // added since the last Update
    quint64 FSort = 0;
};
