// Freed memory keeps no secret once the heap is hardened and scrubbed; the
// byte search finds what memmem finds.

#include "Platform.Memory.h"
#include "ProcessMemoryScan.h"

#include <QTest>

#include <cstdlib>
#include <vector>

namespace Scan = ProcessMemoryScan;

namespace {

// A block of the size with the marker written into it byte by byte, so no
// other copy of it is made.
char* BlockWithMarker(std::size_t size, const QByteArray& masked)
{
    auto* block = static_cast<char*>(std::malloc(size));
    for (std::size_t i = 0; i < size; ++i)
        block[i] = char(masked[qsizetype(i % std::size_t(masked.size()))] ^ Scan::Mask);
    return block;
}

} // namespace

class TestMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Platform::HardenHeap(); }

    void freedBlocksAreOverwritten_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("small, kept in the thread's cache") << 100;
        QTest::newRow("medium") << 4000;
        QTest::newRow("large") << 300000;
    }

    void freedBlocksAreOverwritten()
    {
        QFETCH(int, size);
        const QByteArray marker = Scan::NewMaskedMarker("FreedMarker");
        std::vector<char*> blocks;
        for (int i = 0; i < 3; ++i)
            blocks.push_back(BlockWithMarker(std::size_t(size), marker));
        QVERIFY(!Scan::Find(marker).isEmpty()); // the scan sees live blocks
        for (char* block : blocks)
            std::free(block);
        Platform::ScrubFreedMemory();
        const auto hits = Scan::Find(marker);
        QVERIFY2(hits.isEmpty(), qPrintable(Scan::Describe(hits)));
    }

    void findBytes_data()
    {
        QTest::addColumn<QByteArray>("haystack");
        QTest::addColumn<QByteArray>("needle");
        QTest::addColumn<int>("at");
        QTest::newRow("inside") << QByteArray("abc\0def", 7) << QByteArray("def") << 4;
        QTest::newRow("at the end, partly before") << QByteArray("ababc") << QByteArray("abc") << 2;
        QTest::newRow("absent") << QByteArray("abcd") << QByteArray("abd") << -1;
        QTest::newRow("longer than the haystack") << QByteArray("ab") << QByteArray("abc") << -1;
        QTest::newRow("empty needle") << QByteArray("ab") << QByteArray() << 0;
    }

    void findBytes()
    {
        QFETCH(QByteArray, haystack);
        QFETCH(QByteArray, needle);
        QFETCH(int, at);
        const char* found = Platform::FindBytes(haystack.constData(), std::size_t(haystack.size()),
                                                needle.constData(), std::size_t(needle.size()));
        QCOMPARE(found ? int(found - haystack.constData()) : -1, at);
    }
};

QTEST_GUILESS_MAIN(TestMemory)
#include "tst_Memory.moc"
