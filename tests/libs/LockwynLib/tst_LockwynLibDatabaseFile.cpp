// Database files through the interfaces with the real loader: codes, round
// trips, saving, backups, master password changes and change notifications;
// and, on the inner units, one key derivation per unlock.

#include "LockwynLib.DatabaseFile.h"
#include "LockwynLib.TokenStorage.h"
#include "LockwynLibTestFiles.h"
#include "LockwynLibTestFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <future>

#include <QThread>

using namespace TestData;

namespace {

const QString Password = QStringLiteral("correct horse");
const TKeyDerivationSettings Cheap{1, 8u << 10};

// A populated database written to a file, with a manual auto-login record
// and a changed history entry.
QString CreateDatabase(TFixture& f, const QString& fileName)
{
    auto file = f.Lib->GetDatabaseFile();
    file->SetKeyDerivationSettings(Cheap);
    f.Storage->SetMasterPassword(Password);
    Populate(f);
    auto token = f.Token("Bank");
    auto copy = token->GetCloner()->Clone();
    copy->SetNotes("line 1\r\nline 2");
    copy->SetUseManualAutoLogin(true);
    copy->SetAutoLoginInfo(f.Lib->GetObjectFactory()->CreateManualAutoLoginInfo(
        "https://bank.example/login", true, false, {"user", "u"}, {"pass", "p"}, 2));
    f.History->Execute(token->CreateUpdateOperation(copy));
    [&] {
        QCOMPARE(file->CreateFile(fileName), DatabaseFileCode::Ok);
    }();
    return Dump(*f.Root);
}

} // namespace

class TestLockwynLibDatabaseFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip();
    void openCodes_data();
    void openCodes();
    void createCodes();
    void saveKeepsBackupAndOwnSaveIsNoChange();
    void masterPasswordChangeLeavesNothingForTheOldOne();
    void changeCallbacksFireOnExternalWritesOnly();
    void scratchFileIsIndependent();
    void oneDerivationPerUnlock();
    void saveRefusesAChangeNobodyHasSeen();
    void saveWaitsForAnotherWriter();
    void reopensWithTheKeyAlone();
    void saveErrorsSayWhy();
};

void TestLockwynLibDatabaseFile::roundTrip()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    QString written;
    {
        TFixture f;
        written = CreateDatabase(f, fileName);
    }
    TFixture f;
    auto file = f.Lib->GetDatabaseFile();
    QCOMPARE(file->Open(fileName, Password), DatabaseFileCode::Ok);
    QVERIFY(file->GetOpened());
    QCOMPARE(file->GetFileName(), QFileInfo(fileName).absoluteFilePath());
    QVERIFY(f.Storage->IsMasterPassword(Password));
    QVERIFY(!f.Storage->IsMasterPassword(Password + u'!'));
    QCOMPARE(f.Storage->GetLoadedVersion(), f.Storage->GetVersion());
    auto root = f.Storage->GetRootGroup();
    QCOMPARE(Dump(*root), written);
    QCOMPARE(QFile(fileName).permissions() & (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions());
}

void TestLockwynLibDatabaseFile::openCodes_data()
{
    QTest::addColumn<std::function<void(const QString&)>>("damage");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("code");
    auto none = [](const QString&) {
    };
    auto rewrite = [](std::function<void(QByteArray&)> change) {
        return std::function<void(const QString&)>([change](const QString& fileName) {
            QByteArray bytes = ReadBytes(fileName);
            change(bytes);
            WriteBytes(fileName, bytes);
        });
    };
    QTest::newRow("ok") << std::function<void(const QString&)>(none) << Password << 0;
    QTest::newRow("missing") << std::function<void(const QString&)>([](const QString& f) {
        QFile::remove(f);
    }) << Password << 1;
    QTest::newRow("wrong password") << std::function<void(const QString&)>(none) << "wrong" << 2;
    QTest::newRow("truncated") << rewrite([](QByteArray& b) { b.chop(b.size() / 2); }) << Password
                               << 5;
    QTest::newRow("tag flipped") << rewrite([](QByteArray& b) { b[b.size() - 1] ^= 0x01; })
                                 << Password << 5;
    QTest::newRow("empty") << rewrite([](QByteArray& b) { b.clear(); }) << Password << 5;
    QTest::newRow("garbage") << rewrite([](QByteArray& b) { b.fill('x'); }) << Password << 5;
    QTest::newRow("a folder") << std::function<void(const QString&)>([](const QString& f) {
        QFile::remove(f);
        QDir().mkdir(f);
    }) << Password << 5;
}

void TestLockwynLibDatabaseFile::openCodes()
{
    QFETCH(std::function<void(const QString&)>, damage);
    QFETCH(QString, password);
    QFETCH(int, code);
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    {
        TFixture f;
        CreateDatabase(f, fileName);
    }
    damage(fileName);
    const QByteArray before = ReadBytes(fileName);
    TFixture f;
    auto file = f.Lib->GetDatabaseFile();
    if (code == DatabaseFileCode::Ok || code == DatabaseFileCode::OpenWrongPassword)
        QCOMPARE(file->CheckMasterPassword(fileName, password), code);
    QCOMPARE(file->Open(fileName, password), code);
    QCOMPARE(file->GetOpened(), code == 0);
    QCOMPARE(ReadBytes(fileName), before); // never changes the file
    if (code != 0)
        QVERIFY(f.Storage->GetRootGroup()->GetAllTokens().isEmpty());
}

void TestLockwynLibDatabaseFile::createCodes()
{
    QTemporaryDir dir;
    TFixture f;
    auto file = f.Lib->GetDatabaseFile();
    file->SetKeyDerivationSettings(Cheap);
    QCOMPARE(file->CreateFile(dir.filePath("a.lwdb")), DatabaseFileCode::CreateEmptyPassword);
    f.Storage->SetMasterPassword(Password);
    QCOMPARE(file->CreateFile(dir.filePath("no/such/folder/a.lwdb")),
             DatabaseFileCode::CreateFolderMissing);
    QVERIFY(!file->GetOpened());
    const QString existing = dir.filePath("existing.lwdb");
    WriteBytes(existing, "whatever was here");
    QCOMPARE(file->CreateFile(existing), DatabaseFileCode::Ok);
    QCOMPARE(ReadBytes(existing + ".bak"), QByteArray("whatever was here"));
    QCOMPARE(file->GetFileName(), QFileInfo(existing).absoluteFilePath());
}

void TestLockwynLibDatabaseFile::saveKeepsBackupAndOwnSaveIsNoChange()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    TFixture f;
    CreateDatabase(f, fileName);
    auto file = f.Lib->GetDatabaseFile();
    const QByteArray first = ReadBytes(fileName);
    f.AddToken(f.Root, "Added");
    QCOMPARE(file->Save(), DatabaseFileCode::Ok);
    QVERIFY(!file->GetModifiedOnDisk());
    QCOMPARE(ReadBytes(fileName + ".bak"), first);
    const QString saved = Dump(*f.Root);

    WriteBytes(fileName, ReadBytes(fileName)); // a touch: same content
    QVERIFY(!file->GetModifiedOnDisk());
    WriteBytes(fileName, first); // another program wrote other content
    QVERIFY(file->GetModifiedOnDisk());

    QCOMPARE(file->Save(), DatabaseFileCode::Ok);
    auto other = file->CreateScratchFile();
    QCOMPARE(other->Open(fileName, Password), 0);
    QCOMPARE(Dump(*other->GetTokenStorage()->GetRootGroup()), saved);
}

void TestLockwynLibDatabaseFile::masterPasswordChangeLeavesNothingForTheOldOne()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    TFixture f;
    CreateDatabase(f, fileName);
    auto file = f.Lib->GetDatabaseFile();
    f.Storage->SetMasterPassword("new password");
    QCOMPARE(file->Save(), DatabaseFileCode::Ok);
    auto check = file->CreateScratchFile();
    for (const QString& name : QStringList{fileName, fileName + ".bak"}) {
        QCOMPARE(check->CheckMasterPassword(name, Password), DatabaseFileCode::OpenWrongPassword);
        QCOMPARE(check->CheckMasterPassword(name, "new password"), DatabaseFileCode::Ok);
    }
    QCOMPARE(check->Open(fileName, "new password"), DatabaseFileCode::Ok);
    QCOMPARE(Dump(*check->GetTokenStorage()->GetRootGroup()), Dump(*f.Root));
}

void TestLockwynLibDatabaseFile::changeCallbacksFireOnExternalWritesOnly()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    TFixture f;
    CreateDatabase(f, fileName);
    auto file = f.Lib->GetDatabaseFile();
    std::atomic<int> first = 0;
    std::atomic<int> second = 0;
    file->SetOnFileChanged([&] { ++first; });
    file->SetOnFileChanged2([&] { ++second; });
    const QByteArray before = ReadBytes(fileName);
    f.AddToken(f.Root, "Added");
    QCOMPARE(file->Save(), DatabaseFileCode::Ok);
    QTest::qWait(1500);
    QCOMPARE(first.load(), 0);
    QCOMPARE(second.load(), 0);
    WriteBytes(fileName, before);
    QTRY_VERIFY_WITH_TIMEOUT(first.load() > 0 && second.load() > 0, 5000);
    file->Close();
}

void TestLockwynLibDatabaseFile::scratchFileIsIndependent()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    TFixture f;
    const QString written = CreateDatabase(f, fileName);
    auto scratch = f.Lib->GetDatabaseFile()->CreateScratchFile();
    QCOMPARE(scratch->Open(fileName, Password), DatabaseFileCode::Ok);
    QCOMPARE(Dump(*scratch->GetTokenStorage()->GetRootGroup()), written);
    scratch->Close();
    scratch->GetTokenStorage()->Clear();
    QCOMPARE(Dump(*f.Root), written);
    QVERIFY(f.Lib->GetDatabaseFile()->GetOpened());
}

void TestLockwynLibDatabaseFile::oneDerivationPerUnlock()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    {
        TFixture f;
        CreateDatabase(f, fileName);
    }
    auto cache = std::make_shared<TKeyCache>();
    TDatabaseFile file(cache, true);
    QCOMPARE(file.CheckMasterPassword(fileName, Password), 0);
    auto scratch = file.CreateScratchFile();
    QCOMPARE(scratch->Open(fileName, Password), 0);
    scratch->Close();
    scratch->GetTokenStorage()->Clear();
    QCOMPARE(file.Open(fileName, Password), 0);
    QCOMPARE(cache->DerivationCount(), 1);
    file.GetTokenStorage()->GetRootGroup(); // saving needs no derivation either
    QCOMPARE(file.Save(), 0);
    QCOMPARE(cache->DerivationCount(), 1);
    file.GetTokenStorage()->Clear();
    QCOMPARE(file.CheckMasterPassword(fileName, Password), 0); // the key was wiped
    QCOMPARE(cache->DerivationCount(), 2);
}

namespace {

bool HasToken(TFixture& f, const QString& fileName, const QString& title)
{
    auto reader = f.Lib->GetDatabaseFile()->CreateScratchFile();
    if (reader->Open(fileName, Password) != DatabaseFileCode::Ok)
        return false;
    for (const auto& token : reader->GetTokenStorage()->GetRootGroup()->GetAllTokens())
        if (token->GetTitle() == title)
            return true;
    return false;
}

// Another program's read-modify-write of the file, holding the write lock.
std::shared_ptr<IDatabaseFile> OtherWriter(TFixture& f, const QString& fileName,
                                           const QString& title)
{
    auto other = f.Lib->GetDatabaseFile()->CreateScratchFile();
    if (other->AcquireWriteLock(fileName, 0) != DatabaseFileCode::Ok ||
        other->Open(fileName, Password) != DatabaseFileCode::Ok)
        return nullptr;
    f.History->Execute(other->GetTokenStorage()->GetRootGroup()->CreateAddTokenOperation(
        title, "", "", "", "", false, {}, false, nullptr, nullptr));
    return other;
}

} // namespace

// A save never writes over another program's change that nobody has looked
// at; once GetModifiedOnDisk has reported it, the user may overwrite it, and
// the overwritten content is the backup.
void TestLockwynLibDatabaseFile::saveRefusesAChangeNobodyHasSeen()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    TFixture f;
    CreateDatabase(f, fileName);
    auto file = f.Lib->GetDatabaseFile();
    const auto other = OtherWriter(f, fileName, "Other's");
    QVERIFY(other);
    QCOMPARE(other->Save(), DatabaseFileCode::Ok);
    f.AddToken(f.Root, "Mine");
    QCOMPARE(file->Save(), DatabaseFileCode::SaveChangedOnDisk);
    QVERIFY(HasToken(f, fileName, "Other's"));
    QVERIFY(!HasToken(f, fileName, "Mine"));

    QVERIFY(file->GetModifiedOnDisk());
    QCOMPARE(file->Save(), DatabaseFileCode::Ok);
    QVERIFY(HasToken(f, fileName, "Mine"));
    QVERIFY(!HasToken(f, fileName, "Other's"));
    QVERIFY(HasToken(f, fileName + ".bak", "Other's"));
}

// While another writer holds the file, a save waits for it, and then finds
// the other's change on disk instead of writing over it.
void TestLockwynLibDatabaseFile::saveWaitsForAnotherWriter()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    TFixture f;
    CreateDatabase(f, fileName);
    const auto other = OtherWriter(f, fileName, "Other's");
    QVERIFY(other);
    f.AddToken(f.Root, "Mine");
    auto otherSave = std::async(std::launch::async, [&] {
        QThread::msleep(300); // the other writer is busy a while before it saves
        return other->Save();
    });
    QCOMPARE(f.Lib->GetDatabaseFile()->Save(), DatabaseFileCode::SaveChangedOnDisk);
    QCOMPARE(otherSave.get(), DatabaseFileCode::Ok);
    QVERIFY(HasToken(f, fileName, "Other's"));
}

// The session opens its file again with the key it holds, without the
// master password; once the password changed elsewhere, the key no longer fits.
void TestLockwynLibDatabaseFile::reopensWithTheKeyAlone()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    TFixture f;
    const QString written = CreateDatabase(f, fileName);
    auto file = f.Lib->GetDatabaseFile();
    QVERIFY(file->GetKey());
    auto key = file->GetKey();
    file->Close();
    f.Storage->Clear();
    QVERIFY(!file->GetKey());
    QCOMPARE(file->OpenWithKey(fileName, key), DatabaseFileCode::Ok);
    QCOMPARE(Dump(*f.Storage->GetRootGroup()), written);
    QVERIFY(f.Storage->IsMasterPassword(Password));
    QCOMPARE(file->OpenWithKey(fileName, nullptr), DatabaseFileCode::OpenWrongPassword);

    auto other = file->CreateScratchFile();
    QCOMPARE(other->Open(fileName, Password), DatabaseFileCode::Ok);
    other->GetTokenStorage()->SetMasterPassword("changed elsewhere");
    QCOMPARE(other->Save(), DatabaseFileCode::Ok);
    QCOMPARE(file->OpenWithKey(fileName, key), DatabaseFileCode::OpenWrongPassword);
}

// Failures carry the system's words for them.
void TestLockwynLibDatabaseFile::saveErrorsSayWhy()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("db.lwdb");
    TFixture f;
    CreateDatabase(f, fileName);
    auto file = f.Lib->GetDatabaseFile();
    QVERIFY(QDir(dir.path()).rename("db.lwdb", "elsewhere.lwdb"));
    QVERIFY(QDir().mkdir(fileName)); // a folder where the file was
    QVERIFY(file->GetModifiedOnDisk());
    QCOMPARE(file->Save(), DatabaseFileCode::SaveWriteFailed);
    QVERIFY2(!file->GetErrorReason().isEmpty(), "no reason");
    QCOMPARE(file->Open(dir.filePath("absent.lwdb"), Password), DatabaseFileCode::OpenFileMissing);
}

QTEST_GUILESS_MAIN(TestLockwynLibDatabaseFile)
#include "tst_LockwynLibDatabaseFile.moc"

