#include <QtTest>

#include "Components.SortKeyCache.h"

using namespace Qt::StringLiterals;

class TestSortKeyCache : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void keysOrderAsTheCollator();
    void keysUnusedBySortsAreDropped();
    void emptySortEmptiesTheCache();
    void followsTheLocale();
};

void TestSortKeyCache::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestSortKeyCache::keysOrderAsTheCollator()
{
    TSortKeyCache cache;
    const QStringList texts{u"b"_s,    u"A"_s,  u"a"_s,   u"ä"_s, u"B"_s,
                            QString(), u"a1"_s, u"a10"_s, u"a2"_s};
    cache.BeginSort();
    for (const QString& x : texts)
        for (const QString& y : texts) {
            const int byKey = cache.Key(x).compare(cache.Key(y));
            QVERIFY2((byKey < 0) == (cache.Compare(x, y) < 0) &&
                         (byKey == 0) == (cache.Compare(x, y) == 0),
                     qPrintable(x + u" / "_s + y));
        }
    cache.EndSort();
    // Locale-aware and case-sensitive: a < A < ä < b.
    QVERIFY(cache.Compare(u"a"_s, u"A"_s) < 0);
    QVERIFY(cache.Compare(u"A"_s, u"ä"_s) < 0);
    QVERIFY(cache.Compare(u"ä"_s, u"b"_s) < 0);
}

void TestSortKeyCache::keysUnusedBySortsAreDropped()
{
    TSortKeyCache cache;
    cache.BeginSort();
    for (int i = 0; i < 100; ++i)
        cache.Key(u"text %1"_s.arg(i));
    cache.EndSort();
    QCOMPARE(cache.Size(), 100);

    // A sort that uses most of them keeps them all.
    cache.BeginSort();
    for (int i = 0; i < 60; ++i)
        cache.Key(u"text %1"_s.arg(i));
    cache.EndSort();
    QCOMPARE(cache.Size(), 100);

    // One that uses few keeps only those.
    cache.BeginSort();
    for (int i = 0; i < 10; ++i)
        cache.Key(u"text %1"_s.arg(i));
    cache.Key(u"new"_s);
    cache.EndSort();
    QCOMPARE(cache.Size(), 11);
    cache.BeginSort();
    QVERIFY(cache.Key(u"text 3"_s).compare(cache.Key(u"text 4"_s)) < 0);
    cache.EndSort();
}

void TestSortKeyCache::emptySortEmptiesTheCache()
{
    TSortKeyCache cache;
    cache.BeginSort();
    cache.Key(u"secret password"_s);
    cache.EndSort();
    QCOMPARE(cache.Size(), 1);
    cache.BeginSort();
    cache.EndSort();
    QCOMPARE(cache.Size(), 0);
}

void TestSortKeyCache::followsTheLocale()
{
    TSortKeyCache cache;
    cache.BeginSort();
    cache.Key(u"ä"_s);
    cache.Key(u"z"_s);
    cache.EndSort();
    // Swedish puts "ä" after "z".
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    cache.BeginSort();
    QVERIFY(cache.Key(u"ä"_s).compare(cache.Key(u"z"_s)) > 0);
    cache.EndSort();
    QVERIFY(cache.Compare(u"ä"_s, u"z"_s) > 0);
}

QTEST_GUILESS_MAIN(TestSortKeyCache)
#include "tst_SortKeyCache.moc"
