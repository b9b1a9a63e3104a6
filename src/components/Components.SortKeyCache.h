#pragma once
// Locale-aware, case-sensitive ordering of many texts. A collation key is
// costly to compute and cheap to compare, so keys are computed once per text
// and kept between sorts; keys a sort no longer asks for are dropped, so
// the cache never holds texts of rows that are gone (a list emptied at a lock
// empties it).

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QString>

#include <deque>

class TSortKeyCache
{
public:
    TSortKeyCache();

    // Brackets one sort; Key is valid from BeginSort to EndSort.
    void BeginSort();
    const QCollatorSortKey& Key(const QString& text);
    void EndSort();

    // The same order as the keys give, without computing keys.
    int Compare(const QString& a, const QString& b) const { return FCollator.compare(a, b); }
    qsizetype Size() const { return FIndex.size(); }
    void Clear();

private:
    struct TEntry
    {
        QCollatorSortKey Key;
        quint64 Sort; // the last sort that asked for it
    };

    void SetUpCollator();

    QLocale FLocale;
    QCollator FCollator;
    QHash<QString, qsizetype> FIndex;
    std::deque<TEntry> FEntries; // stable addresses while keys are handed out
    quint64 FSort = 0;
    qsizetype FUsed = 0;
};
