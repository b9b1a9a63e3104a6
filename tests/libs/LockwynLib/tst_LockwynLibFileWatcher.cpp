#include "LockwynLib.Container.h"
#include "LockwynLib.FileWatcher.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <utime.h>

using namespace Lockwyn;

namespace {

// Long enough for a change to settle and be reported; a missing report is
// what the negative tests look for.
constexpr int QuietMilliseconds = 600;

void WriteInPlace(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TestFileWatcher : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FFile;
    TFileKey FKey;
    std::atomic<int> FCalls{0};
    std::atomic<QThread*> FCallbackThread{nullptr};
    std::unique_ptr<TFileWatcher> FWatcher;

    void SaveOwn(const QByteArray& payload)
    {
        const QByteArray sealed = SealContainer(payload, FKey);
        FWatcher->SetKnownDigest(ContentDigest(sealed));
        QCOMPARE(WriteContainerFile(FFile, sealed, FKey, TBackupPolicy::bpBestEffort),
                 TWriteResult::wrOk);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        FKey = TFileKey::Create(TSecureBuffer::FromString("pw"), TKdfParams::Cheap());
    }

    void init()
    {
        FFile = FDir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + ".lwdb");
        FCalls = 0;
        FWatcher = std::make_unique<TFileWatcher>([this] {
            FCallbackThread = QThread::currentThread();
            ++FCalls;
        });
        const QByteArray sealed = SealContainer("first", FKey);
        QCOMPARE(WriteContainerFile(FFile, sealed, FKey, TBackupPolicy::bpNone),
                 TWriteResult::wrOk);
        FWatcher->Watch(FFile, ContentDigest(sealed));
    }

    void cleanup() { FWatcher.reset(); }

    void externalWriteInPlaceIsReported()
    {
        WriteInPlace(FFile, SealContainer("theirs", FKey));
        QTRY_COMPARE(FCalls.load(), 1);
        QVERIFY(FCallbackThread.load() != QThread::currentThread());
    }

    void externalReplaceByRenameIsReported()
    {
        const QString other = FDir.filePath("elsewhere.tmp");
        WriteInPlace(other, SealContainer("theirs", FKey));
        QVERIFY(::rename(qPrintable(other), qPrintable(FFile)) == 0);
        QTRY_COMPARE(FCalls.load(), 1);
        // The watch survives the replaced inode.
        WriteInPlace(FFile, SealContainer("theirs again", FKey));
        QTRY_COMPARE(FCalls.load(), 2);
    }

    void externalDeleteIsReported()
    {
        QVERIFY(QFile::remove(FFile));
        QTRY_COMPARE(FCalls.load(), 1);
    }

    void ownSavesAreNotReported()
    {
        for (int i = 0; i < 5; ++i)
            SaveOwn("mine " + QByteArray::number(i));
        QTest::qWait(QuietMilliseconds);
        QCOMPARE(FCalls.load(), 0);
        // Restoring an earlier content from outside is a change again.
        WriteInPlace(FFile, ReadBackup());
        QTRY_COMPARE(FCalls.load(), 1);
    }

    // A save announced but not yet on disk: the old content, seen meanwhile,
    // is not a change.
    void oldContentDuringOwnSaveIsNotAChange()
    {
        const QByteArray old = ReadFile(FFile);
        const QByteArray sealed = SealContainer("mine", FKey);
        FWatcher->SetKnownDigest(ContentDigest(sealed));
        WriteInPlace(FDir.filePath("neighbour.tmp"), "stirs the folder");
        QTest::qWait(QuietMilliseconds);
        QCOMPARE(WriteContainerFile(FFile, sealed, FKey, TBackupPolicy::bpNone),
                 TWriteResult::wrOk);
        QTest::qWait(QuietMilliseconds);
        QCOMPARE(FCalls.load(), 0);
        WriteInPlace(FFile, old);
        QTRY_COMPARE(FCalls.load(), 1);
    }

    void touchIsNotReported()
    {
        QVERIFY(utime(qPrintable(FFile), nullptr) == 0);
        QFile::copy(FFile, FDir.filePath("neighbour.lwdb"));
        QTest::qWait(QuietMilliseconds);
        QCOMPARE(FCalls.load(), 0);
    }

    void stoppedWatcherIsSilent()
    {
        FWatcher->Stop();
        WriteInPlace(FFile, "changed");
        QTest::qWait(QuietMilliseconds);
        QCOMPARE(FCalls.load(), 0);
    }

private:
    static QByteArray ReadFile(const QString& fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QByteArray ReadBackup() { return ReadFile(BackupFileName(FFile)); }
};

QTEST_GUILESS_MAIN(TestFileWatcher)
#include "tst_LockwynLibFileWatcher.moc"
