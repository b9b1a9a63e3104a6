// The write lock on a file: writers take turns, readers go on, and a file
// replaced while a writer waited is locked as it is now.

#include "Platform.AtomicFile.h"
#include "Platform.FileLock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <future>

using Platform::TFileLock;
using namespace std::chrono_literals;

namespace {

void WriteFile(const QString& fileName, QByteArrayView bytes)
{
    Platform::TAtomicFile file(fileName);
    QVERIFY(file.Open() && file.Write(bytes) && file.Commit());
}

} // namespace

class TestFileLock : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FFile;

private Q_SLOTS:
    void init()
    {
        FFile = FDir.filePath(QStringLiteral("db"));
        WriteFile(FFile, "content");
    }

    // Locks of one process exclude each other as those of two processes do.
    void writersTakeTurnsAndReadersGoOn()
    {
        TFileLock first;
        QCOMPARE(first.Acquire(FFile, 0ms), TFileLock::TResult::lrLocked);
        TFileLock second;
        QCOMPARE(second.Acquire(FFile, 50ms), TFileLock::TResult::lrBusy);
        QFile reader(FFile);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QCOMPARE(reader.readAll(), QByteArray("content"));
        reader.close(); // closing another descriptor of the file keeps the lock
        QCOMPARE(second.Acquire(FFile, 0ms), TFileLock::TResult::lrBusy);
        first.Release();
        QCOMPARE(second.Acquire(FFile, 0ms), TFileLock::TResult::lrLocked);
    }

    // A writer that waited for a file that a save replaced meanwhile holds the
    // new file afterwards, not the old one that nobody uses any more.
    void waiterLocksTheFileThatIsThereNow()
    {
        TFileLock first;
        QCOMPARE(first.Acquire(FFile, 0ms), TFileLock::TResult::lrLocked);
        auto waiter = std::async(std::launch::async, [this] {
            auto lock = std::make_unique<TFileLock>();
            const auto result = lock->Acquire(FFile, TFileLock::WaitForever);
            return std::make_pair(result, std::move(lock));
        });
        QCOMPARE(waiter.wait_for(100ms), std::future_status::timeout);
        WriteFile(FFile, "saved by the first writer");
        first.Release();
        auto [result, second] = waiter.get();
        QCOMPARE(result, TFileLock::TResult::lrLocked);
        TFileLock third;
        QCOMPARE(third.Acquire(FFile, 0ms), TFileLock::TResult::lrBusy);
    }

    void missingFile()
    {
        TFileLock lock;
        QCOMPARE(lock.Acquire(FDir.filePath(QStringLiteral("absent")), 0ms),
                 TFileLock::TResult::lrMissing);
        QVERIFY(!lock.IsHeld());
    }
};

QTEST_GUILESS_MAIN(TestFileLock)
#include "tst_FileLock.moc"
