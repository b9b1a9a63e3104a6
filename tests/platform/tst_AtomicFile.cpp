// The one writer of whole files: complete or not at all, owner-only, the
// system's reason for a failure.

#include "Platform.AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using Platform::TAtomicFile;
using Platform::TFileErrorKind;

namespace {

QByteArray ReadBytes(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString& fileName, QByteArrayView bytes,
           TAtomicFile::TPermissions permissions = TAtomicFile::TPermissions::apOwnerOnly)
{
    TAtomicFile file(fileName, permissions);
    return file.Open() && file.Write(bytes) && file.Commit();
}

constexpr QFileDevice::Permissions OthersAndGroup =
    QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

} // namespace

Q_DECLARE_METATYPE(TAtomicFile::TPermissions)

class TestAtomicFile : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString Path(const char* name) const { return FDir.filePath(QString::fromLatin1(name)); }
    QStringList Files() const { return QDir(FDir.path()).entryList(QDir::Files); }

private Q_SLOTS:
    void init()
    {
        for (const QString& name : Files())
            QFile::remove(FDir.filePath(name));
    }

    void permissions_data()
    {
        QTest::addColumn<TAtomicFile::TPermissions>("permissions");
        QTest::addColumn<bool>("existingKeepsItsOwn");
        QTest::newRow("owner only") << TAtomicFile::TPermissions::apOwnerOnly << false;
        QTest::newRow("keep existing") << TAtomicFile::TPermissions::apKeepExisting << true;
    }

    // New files are the owner's alone; a replaced one keeps its permissions
    // only when asked to.
    void permissions()
    {
        QFETCH(TAtomicFile::TPermissions, permissions);
        QFETCH(bool, existingKeepsItsOwn);
        const QString fileName = Path("file");
        QVERIFY(Write(fileName, "new", permissions));
        QCOMPARE(QFile::permissions(fileName) & OthersAndGroup, QFileDevice::Permissions());
        QVERIFY(
            QFile::setPermissions(fileName, QFile::permissions(fileName) | QFileDevice::ReadGroup));
        QVERIFY(Write(fileName, "replaced", permissions));
        QCOMPARE(ReadBytes(fileName), QByteArray("replaced"));
        QCOMPARE(QFile::permissions(fileName).testFlag(QFileDevice::ReadGroup),
                 existingKeepsItsOwn);
    }

    // Whatever goes wrong before Commit leaves the old file and no other.
    void uncommittedWriteLeavesTheOldFile()
    {
        const QString fileName = Path("out");
        {
            TAtomicFile file(fileName);
            QVERIFY(file.Open());
            QVERIFY(file.Write("partial"));
        }
        QVERIFY(Files().isEmpty());
        QVERIFY(Write(fileName, "old"));
        {
            TAtomicFile file(fileName);
            QVERIFY(file.Open());
            QVERIFY(file.Write("new"));
            QVERIFY(!file.Commit([](Platform::TFileError& error) {
                error = {TFileErrorKind::fekFailed, QStringLiteral("backup failed")};
                return false;
            }));
            QCOMPARE(file.Error().Reason, QStringLiteral("backup failed"));
        }
        QCOMPARE(ReadBytes(fileName), QByteArray("old"));
        QCOMPARE(Files(), QStringList{"out"});
    }

    void missingFolderIsSaidSo()
    {
        TAtomicFile file(Path("missing/out"));
        QVERIFY(!file.Open());
        QCOMPARE(file.Error().Kind, TFileErrorKind::fekMissing);
    }

    // A disk that fills up midway (here: the largest file a process may
    // write): the write fails with the system's reason, the old file stays.
    void fullDiskGivesTheReason()
    {
        const QString fileName = Path("big");
        QVERIFY(Write(fileName, "old"));
        int pipe[2];
        QVERIFY(::pipe(pipe) == 0);
        const pid_t pid = fork();
        if (pid == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            bool written = false;
            QByteArray reason;
            {
                TAtomicFile file(fileName);
                written = file.Open() && file.Write(QByteArray(1 << 20, 'b')) && file.Commit();
                reason = file.Error().Reason.toUtf8();
            }
            [[maybe_unused]] const auto sent = ::write(pipe[1], reason.constData(), reason.size());
            _exit(written ? 1 : 0);
        }
        ::close(pipe[1]);
        char reason[256] = {};
        [[maybe_unused]] const auto read = ::read(pipe[0], reason, sizeof(reason) - 1);
        ::close(pipe[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QCOMPARE(QString::fromUtf8(reason), QStringLiteral("File too large"));
        QCOMPARE(ReadBytes(fileName), QByteArray("old"));
        QCOMPARE(Files(), QStringList{"big"});
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_AtomicFile.moc"
