#include <QtTest>

#include "Components.SortKeyCache.h"

using namespace Qt::StringLiterals;

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Every pair of texts ranks as the collator orders it.
void VerifyRanks(const TSortKeyCache& cache, const QStringList& texts, const QList<qsizetype>& ids)
{
    const QCollator collator = TSortKeyCache::NewCollator();
    for (qsizetype i = 0; i < texts.size(); ++i)
        for (qsizetype j = 0; j < texts.size(); ++j)
            QVERIFY2(Sign(cache.Rank(ids.at(i)) - cache.Rank(ids.at(j))) ==
                         Sign(collator.compare(texts.at(i), texts.at(j))),
                     qPrintable(texts.at(i) + u" / "_s + texts.at(j)));
}

// One sort that asks for these texts.
void Sort(TSortKeyCache& cache, const QStringList& texts)
{
    cache.BeginSort();
    for (const QString& text : texts)
        cache.Add(text);
    cache.Update();
    cache.EndSort();
}

} // namespace

class TestSortKeyCache : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void ranksFollowTheCollator();
    void ranksStayRightWhenTextsArrive();
    void textsNoRecentSortAskedForAreDropped();
    void followsTheLocale();
};

void TestSortKeyCache::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestSortKeyCache::ranksFollowTheCollator()
{
    TSortKeyCache cache;
    // "é" composed and decomposed collate equal and share a rank.
    const QStringList texts{u"b"_s,  u"A"_s,   u"a"_s,  u"ä"_s,      u"B"_s,       QString(),
                            u"a1"_s, u"a10"_s, u"a2"_s, u"\u00e9"_s, u"e\u0301"_s, u"b"_s};
    cache.BeginSort();
    QList<qsizetype> ids;
    for (const QString& text : texts)
        ids << cache.Add(text);
    cache.Update();
    VerifyRanks(cache, texts, ids);
    cache.EndSort();
    // Locale-aware and case-sensitive: a < A < ä < b.
    const QCollator collator = TSortKeyCache::NewCollator();
    QVERIFY(collator.compare(u"a"_s, u"A"_s) < 0);
    QVERIFY(collator.compare(u"A"_s, u"ä"_s) < 0);
    QVERIFY(collator.compare(u"ä"_s, u"b"_s) < 0);
    QCOMPARE(cache.Rank(ids.at(9)), cache.Rank(ids.at(10)));
}

void TestSortKeyCache::ranksStayRightWhenTextsArrive()
{
    TSortKeyCache cache;
    QStringList texts;
    QList<qsizetype> ids;
    for (const QStringList& batch : {QStringList{u"mail"_s, u"Bank"_s, u"zoo"_s},
                                     QStringList{u"apple"_s, u"Mail"_s, u"bank"_s, u"zz"_s},
                                     QStringList{u"a"_s, u"m"_s, u"\u00e4pfel"_s}}) {
        cache.BeginSort();
        for (const QString& text : texts)
            cache.Add(text); // asked for again: the same id
        for (const QString& text : batch) {
            texts << text;
            ids << cache.Add(text);
        }
        cache.Update();
        VerifyRanks(cache, texts, ids);
        cache.EndSort();
    }
    QCOMPARE(cache.Size(), texts.size());
}

void TestSortKeyCache::textsNoRecentSortAskedForAreDropped()
{
    TSortKeyCache cache;
    QStringList all;
    for (int i = 0; i < 100; ++i)
        all << u"text %1"_s.arg(i);
    Sort(cache, all);
    // Sorts of a few of them: the others are kept for a while...
    const QStringList few{u"text 1"_s, u"text 2"_s};
    for (int sort = 0; sort < 7; ++sort) {
        Sort(cache, few);
        QCOMPARE(cache.Size(), 100);
    }
    // ...and dropped when eight sorts in a row did not want them.
    Sort(cache, few);
    QCOMPARE(cache.Size(), 2);
    cache.BeginSort();
    const qsizetype two = cache.Add(u"text 2"_s);
    const qsizetype one = cache.Add(u"text 1"_s);
    const qsizetype three = cache.Add(u"text 3"_s);
    cache.Update();
    QVERIFY(cache.Rank(one) < cache.Rank(two));
    QVERIFY(cache.Rank(two) < cache.Rank(three));
    cache.EndSort();

    cache.Clear();
    QCOMPARE(cache.Size(), 0);
}

void TestSortKeyCache::followsTheLocale()
{
    TSortKeyCache cache;
    Sort(cache, {u"ä"_s, u"z"_s});
    // Swedish puts "ä" after "z".
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    cache.BeginSort();
    const qsizetype umlaut = cache.Add(u"ä"_s);
    const qsizetype z = cache.Add(u"z"_s);
    cache.Update();
    QVERIFY(cache.Rank(umlaut) > cache.Rank(z));
    cache.EndSort();
}

QTEST_GUILESS_MAIN(TestSortKeyCache)
#include "tst_SortKeyCache.moc"
