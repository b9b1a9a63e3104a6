#include "LockwynLib.Container.h"
#include "LockwynLibTestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sodium.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

using namespace Lockwyn;

Q_DECLARE_METATYPE(Lockwyn::TContainerResult)

namespace {

// Byte offsets in a version 1.0 file.
constexpr int MagicAt = 0;
constexpr int MinorAt = 10;
constexpr int HeaderLengthAt = 12;
constexpr int OpsAt = 20;
constexpr int SaltAt = 32;
constexpr int NonceAt = 48;
constexpr int KeyCheckAt = 72;
constexpr int ChecksumAt = 104;
constexpr int HeaderSize = 120;

TSecureBuffer Password(const char* text)
{
    return TSecureBuffer::FromString(QString::fromUtf8(text));
}

QByteArray FlipBit(QByteArray bytes, qsizetype at)
{
    bytes[at < 0 ? bytes.size() + at : at] ^= 0x10;
    return bytes;
}

// Rewrites header fields and the checksum, as a writer of that header would.
QByteArray WithValidChecksum(QByteArray bytes, int headerSize = HeaderSize)
{
    crypto_generichash(reinterpret_cast<unsigned char*>(bytes.data()) + headerSize - 16, 16,
                       reinterpret_cast<const unsigned char*>(bytes.constData()),
                       std::size_t(headerSize - 16), nullptr, 0);
    return bytes;
}

template <typename T> QByteArray WithField(QByteArray bytes, int at, T value)
{
    value = qToLittleEndian(value);
    std::memcpy(bytes.data() + at, &value, sizeof(value));
    return WithValidChecksum(bytes);
}

bool IsOwnerOnly(const QString& fileName)
{
    namespace fs = std::filesystem;
    return fs::status(fileName.toStdString()).permissions() ==
           (fs::perms::owner_read | fs::perms::owner_write);
}

// Runs body in a child process and returns its exit code (-signal when killed).
int InChild(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

} // namespace

class TestContainer : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FFile;
    TFileKey FKey;
    QByteArray FPayload;
    QByteArray FGood;

    QString Path(const QString& name) const { return FDir.filePath(name); }

    TContainerContent Read(const QString& fileName, const char* password = "correct horse")
    {
        TKeyCache cache;
        return ReadContainer(fileName, Password(password), cache);
    }

    QByteArray PayloadOf(const QString& fileName, const char* password = "correct horse")
    {
        TContainerContent content = Read(fileName, password);
        return content.Result == TContainerResult::crOk ? content.Payload.View().toByteArray()
                                                        : QByteArray("<unreadable>");
    }

    TFileKey CheapKey(const char* password)
    {
        return TFileKey::Create(Password(password), TKdfParams::Cheap());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        FKey = CheapKey("correct horse");
        QVERIFY(!FKey.IsEmpty());
        FPayload = QByteArray("payload: every secret of the user ").repeated(100);
        FGood = SealContainer(FPayload, FKey);
    }

    void init()
    {
        FFile = Path(QStringLiteral("db.lwdb"));
        QFile::remove(FFile);
        QFile::remove(BackupFileName(FFile));
    }

    void layoutIsAsDocumented()
    {
        QCOMPARE(FGood.left(8), QByteArray("\x89LWDB\r\n\x1a", 8));
        QCOMPARE(qFromLittleEndian<quint32>(FGood.constData() + HeaderLengthAt),
                 quint32(HeaderSize));
        QCOMPARE(FGood.size(), HeaderSize + FPayload.size() + 16);
        QCOMPARE(QByteArrayView(FGood).sliced(SaltAt, 16),
                 QByteArrayView(reinterpret_cast<const char*>(FKey.Salt.data()), 16));
    }

    void roundTrip()
    {
        QCOMPARE(WriteContainerFile(FFile, FGood, FKey, TBackupPolicy::bpNone), TWriteResult::wrOk);
        TContainerContent content = Read(FFile);
        QCOMPARE(content.Result, TContainerResult::crOk);
        QCOMPARE(content.Payload.View(), QByteArrayView(FPayload));
        QCOMPARE(content.Version, CurrentFormatVersion);
        QCOMPARE(content.Digest, FileDigest(FFile));
        QCOMPARE(content.Digest, ContentDigest(FGood));
        QVERIFY(content.Key.Key.Equals(FKey.Key));
        QCOMPARE(content.Key.Salt, FKey.Salt);
    }

    void emptyPayloadRoundTrips()
    {
        QCOMPARE(WriteContainerFile(FFile, SealContainer({}, FKey), FKey, TBackupPolicy::bpNone),
                 TWriteResult::wrOk);
        TContainerContent content = Read(FFile);
        QCOMPARE(content.Result, TContainerResult::crOk);
        QVERIFY(content.Payload.IsEmpty());
    }

    void eachSealHasAFreshNonce()
    {
        const QByteArray again = SealContainer(FPayload, FKey);
        QVERIFY(again.mid(NonceAt, 24) != FGood.mid(NonceAt, 24));
        QCOMPARE(again.mid(SaltAt, 16), FGood.mid(SaltAt, 16));
    }

    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TContainerResult>("expected");
        // The password check reads the header only; damage behind it shows when reading.
        QTest::addColumn<TContainerResult>("checked");
        using R = TContainerResult;
        const QByteArray good = FGood;
        auto row = [](const char* name, const QByteArray& bytes, R expected) {
            QTest::newRow(name) << bytes << expected << expected;
        };
        auto payloadRow = [](const char* name, const QByteArray& bytes) {
            QTest::newRow(name) << bytes << R::crDamaged << R::crOk;
        };
        row("empty file", QByteArray(), R::crDamaged);
        row("truncated in magic", good.left(5), R::crDamaged);
        row("truncated after version", good.left(12), R::crDamaged);
        row("truncated in header", good.left(HeaderSize - 1), R::crDamaged);
        payloadRow("header only", good.left(HeaderSize));
        payloadRow("truncated in ciphertext", good.left(HeaderSize + 40));
        payloadRow("last byte missing", good.chopped(1));
        payloadRow("byte appended", good + 'x');
        row("bit flip in magic", FlipBit(good, MagicAt + 3), R::crDamaged);
        row("bit flip in minor version", FlipBit(good, MinorAt), R::crDamaged);
        row("bit flip in header length", FlipBit(good, HeaderLengthAt), R::crDamaged);
        row("bit flip in KDF passes", FlipBit(good, OpsAt), R::crDamaged);
        row("bit flip in salt", FlipBit(good, SaltAt + 7), R::crDamaged);
        row("bit flip in nonce", FlipBit(good, NonceAt + 11), R::crDamaged);
        row("bit flip in key check", FlipBit(good, KeyCheckAt), R::crDamaged);
        row("bit flip in checksum", FlipBit(good, ChecksumAt + 15), R::crDamaged);
        payloadRow("bit flip in ciphertext", FlipBit(good, HeaderSize + 100));
        payloadRow("bit flip in tag", FlipBit(good, -1));
        payloadRow("nonce changed, checksum fixed", WithValidChecksum(FlipBit(good, NonceAt)));
        row("garbage", QByteArray(5000, '\x5a'), R::crDamaged);
        row("text file", QByteArray("<?xml version=\"1.0\"?><KeePassFile/>\n"), R::crDamaged);
        row("version 1.0 then garbage", good.left(12) + QByteArray(500, '\xff'), R::crDamaged);
        row("major version 0", WithField<quint16>(good, 8, 0), R::crDamaged);
        row("major version 2", WithField<quint16>(good, 8, 2), R::crTooNew);
        row("major version 2, rest garbage",
            good.left(8) + QByteArray("\x02\x00", 2) + QByteArray(20, '\x01'), R::crTooNew);
        row("header length beyond the file",
            WithField<quint32>(good, HeaderLengthAt, quint32(good.size() + 1)), R::crDamaged);
        row("header length huge", WithField<quint32>(good, HeaderLengthAt, 0xFFFFFFF0u),
            R::crDamaged);
        // A crafted header must not make the reader hang or exhaust memory.
        row("KDF passes beyond the limit", WithField<quint32>(good, OpsAt, 1000000), R::crDamaged);
        row("KDF memory beyond the limit", WithField<quint64>(good, OpsAt + 4, quint64(1) << 40),
            R::crDamaged);
        row("KDF memory zero", WithField<quint64>(good, OpsAt + 4, 0), R::crDamaged);
        row("unknown KDF", WithField<quint8>(good, 16, 9), R::crDamaged);
    }

    // Each bad file gives its code, and reading never changes it.
    void badInput()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TContainerResult, expected);
        QFETCH(TContainerResult, checked);
        WriteBytes(FFile, bytes);
        const QDateTime modified = QFileInfo(FFile).lastModified();
        TKeyCache cache;
        QCOMPARE(CheckContainerPassword(FFile, Password("correct horse"), cache), checked);
        const TContainerContent content = ReadContainer(FFile, Password("correct horse"), cache);
        QCOMPARE(content.Result, expected);
        QVERIFY(content.Payload.IsEmpty());
        if (expected == TContainerResult::crTooNew)
            QCOMPARE(content.Version.Major, 2);
        QCOMPARE(ReadBytes(FFile), bytes);
        QCOMPARE(QFileInfo(FFile).lastModified(), modified);
        QVERIFY(!QFileInfo::exists(BackupFileName(FFile)));
    }

    void folderIsDamaged()
    {
        QVERIFY(QDir(FDir.path()).mkdir("folder.lwdb"));
        QCOMPARE(Read(Path("folder.lwdb")).Result, TContainerResult::crDamaged);
    }

    void missingFile()
    {
        QCOMPARE(Read(Path("nothing.lwdb")).Result, TContainerResult::crMissing);
        QCOMPARE(Read(Path("no-folder/nothing.lwdb")).Result, TContainerResult::crMissing);
    }

    void wrongPasswordIsNotDamage()
    {
        WriteBytes(FFile, FGood);
        TKeyCache cache;
        QCOMPARE(CheckContainerPassword(FFile, Password("Correct horse"), cache),
                 TContainerResult::crWrongPassword);
        QCOMPARE(ReadContainer(FFile, Password(""), cache).Result,
                 TContainerResult::crWrongPassword);
        QCOMPARE(ReadContainer(FFile, Password("correct horse"), cache).Result,
                 TContainerResult::crOk);
    }

    // Damage in the payload stays damage whatever the password.
    void damagedPayloadWithWrongPasswordIsWrongPassword()
    {
        WriteBytes(FFile, FlipBit(FGood, HeaderSize + 3));
        QCOMPARE(Read(FFile, "other").Result, TContainerResult::crWrongPassword);
        QCOMPARE(Read(FFile).Result, TContainerResult::crDamaged);
    }

    // A file from a newer minor version with a longer header opens.
    void newerMinorOpens()
    {
        QByteArray header = BuildHeader({{1, 7}, FKey.Params, FKey.Salt, {}, FKey.KeyCheck()});
        const QByteArray extra("future fields");
        header.insert(HeaderSize - 16, extra);
        const int size = HeaderSize + int(extra.size());
        const quint32 le = qToLittleEndian(quint32(size));
        std::memcpy(header.data() + HeaderLengthAt, &le, 4);
        header = WithValidChecksum(header, size);
        QByteArray file = header;
        file.resize(size + FPayload.size() + 16);
        unsigned long long cipherSize = 0;
        const TNonce nonce{};
        crypto_aead_xchacha20poly1305_ietf_encrypt(
            reinterpret_cast<unsigned char*>(file.data()) + size, &cipherSize,
            reinterpret_cast<const unsigned char*>(FPayload.constData()), FPayload.size(),
            reinterpret_cast<const unsigned char*>(header.constData()), size, nullptr, nonce.data(),
            FKey.Key.Data());
        WriteBytes(FFile, file);
        TContainerContent content = Read(FFile);
        QCOMPARE(content.Result, TContainerResult::crOk);
        QCOMPARE(content.Version, (TFormatVersion{1, 7}));
        QCOMPARE(content.Payload.View(), QByteArrayView(FPayload));
    }

    void accessDenied()
    {
        WriteBytes(FFile, FGood);
        QFile::setPermissions(FDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ExeOther);
        QFile::setPermissions(FFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        // Root reads everything: check as an unprivileged user.
        const int code = InChild([&] {
            if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                return 99;
            TKeyCache cache;
            return int(ReadContainer(FFile, Password("correct horse"), cache).Result);
        });
        QFile::setPermissions(FDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner);
        QCOMPARE(code, int(TContainerResult::crAccessDenied));
    }

    // One unlock, one derivation: check, scratch read and read share the key.
    void keyCacheDerivesOncePerUnlock()
    {
        WriteBytes(FFile, FGood);
        TKeyCache cache;
        const TSecureBuffer password = Password("correct horse");
        QCOMPARE(CheckContainerPassword(FFile, password, cache), TContainerResult::crOk);
        QCOMPARE(ReadContainer(FFile, password, cache).Result, TContainerResult::crOk);
        QCOMPARE(ReadContainer(FFile, password, cache).Result, TContainerResult::crOk);
        QCOMPARE(cache.DerivationCount(), 1);
        QCOMPARE(CheckContainerPassword(FFile, Password("wrong"), cache),
                 TContainerResult::crWrongPassword);
        QCOMPARE(cache.DerivationCount(), 2);
        cache.Clear();
        QCOMPARE(ReadContainer(FFile, password, cache).Result, TContainerResult::crOk);
        QCOMPARE(cache.DerivationCount(), 3);
    }

    void passwordCheckSeesHeaderDamage()
    {
        WriteBytes(FFile, FlipBit(FGood, SaltAt));
        TKeyCache cache;
        QCOMPARE(CheckContainerPassword(FFile, Password("correct horse"), cache),
                 TContainerResult::crDamaged);
        QCOMPARE(cache.DerivationCount(), 0);
    }

    void newFileIsOwnerOnly()
    {
        QCOMPARE(WriteContainerFile(FFile, FGood, FKey, TBackupPolicy::bpRequired),
                 TWriteResult::wrOk);
        QVERIFY(IsOwnerOnly(FFile));
        QVERIFY(!QFileInfo::exists(BackupFileName(FFile)));
    }

    void saveKeepsPreviousAsBackup()
    {
        QCOMPARE(WriteContainerFile(FFile, FGood, FKey, TBackupPolicy::bpBestEffort),
                 TWriteResult::wrOk);
        QCOMPARE(WriteContainerFile(FFile, SealContainer("second", FKey), FKey,
                                    TBackupPolicy::bpBestEffort),
                 TWriteResult::wrOk);
        QCOMPARE(WriteContainerFile(FFile, SealContainer("third", FKey), FKey,
                                    TBackupPolicy::bpBestEffort),
                 TWriteResult::wrOk);
        QCOMPARE(PayloadOf(FFile), QByteArray("third"));
        QCOMPARE(PayloadOf(BackupFileName(FFile)), QByteArray("second"));
        QCOMPARE(QDir(FDir.path()).entryList(QDir::Files), QStringList({"db.lwdb", "db.lwdb.bak"}));
    }

    // Creating over a file that is not ours backs it up byte for byte first.
    void createOverForeignFileBacksItUp()
    {
        WriteBytes(FFile, "someone's notes");
        QCOMPARE(WriteContainerFile(FFile, FGood, FKey, TBackupPolicy::bpRequired),
                 TWriteResult::wrOk);
        QCOMPARE(ReadBytes(BackupFileName(FFile)), QByteArray("someone's notes"));
        QCOMPARE(PayloadOf(FFile), FPayload);
    }

    void requiredBackupThatFailsWritesNothing()
    {
        WriteBytes(FFile, FGood);
        QVERIFY(QDir(FDir.path()).mkpath("db.lwdb.bak/occupied"));
        QCOMPARE(
            WriteContainerFile(FFile, SealContainer("new", FKey), FKey, TBackupPolicy::bpRequired),
            TWriteResult::wrBackupFailed);
        QCOMPARE(ReadBytes(FFile), FGood);
        QCOMPARE(WriteContainerFile(FFile, SealContainer("new", FKey), FKey,
                                    TBackupPolicy::bpBestEffort),
                 TWriteResult::wrOk);
        QCOMPARE(PayloadOf(FFile), QByteArray("new"));
        QVERIFY(QDir(FDir.path()).rmpath("db.lwdb.bak/occupied"));
        QCOMPARE(QDir(FDir.path()).entryList(QDir::Files), QStringList({"db.lwdb"}));
    }

    void missingFolder()
    {
        QCOMPARE(WriteContainerFile(Path("absent/db.lwdb"), FGood, FKey, TBackupPolicy::bpRequired),
                 TWriteResult::wrFolderMissing);
    }

    // After a master password change neither the file nor its backup opens
    // with the old password.
    void passwordChangeResealsBackup()
    {
        QCOMPARE(WriteContainerFile(FFile, FGood, FKey, TBackupPolicy::bpBestEffort),
                 TWriteResult::wrOk);
        const TFileKey newKey = CheapKey("battery staple");
        QVERIFY(newKey.Salt != FKey.Salt);
        QCOMPARE(WriteContainerFile(FFile, SealContainer("changed", newKey), newKey,
                                    TBackupPolicy::bpBestEffort, &FKey),
                 TWriteResult::wrOk);
        const QString backup = BackupFileName(FFile);
        QCOMPARE(Read(FFile).Result, TContainerResult::crWrongPassword);
        QCOMPARE(Read(backup).Result, TContainerResult::crWrongPassword);
        QCOMPARE(PayloadOf(FFile, "battery staple"), QByteArray("changed"));
        QCOMPARE(PayloadOf(backup, "battery staple"), FPayload);
        QVERIFY(IsOwnerOnly(backup));
    }

    // A writer killed at any moment leaves a file that opens with the old or
    // the new content, never anything else.
    void killDuringSaveLeavesAReadableFile()
    {
        const QByteArray big(8 << 20, 'a');
        QCOMPARE(WriteContainerFile(FFile, SealContainer("old", FKey), FKey,
                                    TBackupPolicy::bpBestEffort),
                 TWriteResult::wrOk);
        for (int round = 0; round < 12; ++round) {
            const pid_t pid = fork();
            if (pid == 0) {
                for (;;)
                    WriteContainerFile(FFile, SealContainer(big, FKey), FKey,
                                       TBackupPolicy::bpBestEffort);
            }
            QTest::qSleep(int(5 + randombytes_uniform(60)));
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            const QByteArray payload = PayloadOf(FFile);
            QVERIFY2(payload == "old" || payload == big, payload.left(40).constData());
        }
    }

    // A disk that fills up midway: the write fails and the old file stays.
    void fullDiskLeavesOldFile()
    {
        QCOMPARE(WriteContainerFile(FFile, FGood, FKey, TBackupPolicy::bpBestEffort),
                 TWriteResult::wrOk);
        // Earlier tests may leave the temporary files of killed writers here.
        const QStringList before = QDir(FDir.path()).entryList(QDir::Files);
        const int code = InChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 99;
            const QByteArray sealed = SealContainer(QByteArray(1 << 20, 'b'), FKey);
            return int(WriteContainerFile(FFile, sealed, FKey, TBackupPolicy::bpBestEffort));
        });
        QCOMPARE(code, int(TWriteResult::wrFailed));
        QCOMPARE(ReadBytes(FFile), FGood);
        const QStringList after = QDir(FDir.path()).entryList(QDir::Files);
        QVERIFY2(after == before, qPrintable(after.join(", ")));
    }
};

QTEST_GUILESS_MAIN(TestContainer)
#include "tst_LockwynLibContainer.moc"
