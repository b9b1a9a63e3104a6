// Nothing secret stays in the program's memory once it is locked: the real
// session (the controller, the start dialog, the main window, offscreen)
// unlocks a database whose master password and token password are markers,
// locks, and the process's own memory is searched for both markers in UTF-8
// and UTF-16. While unlocked, the same search finds the token's password, so a
// search that sees nothing is not taken for a clean memory.

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "Forms.Main.h"
#include "Forms.StartDialog.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "Platform.Memory.h"
#include "ProcessMemoryScan.h"
#include "SessionTestSupport.h"

using namespace SessionTest;
namespace Scan = ProcessMemoryScan;

namespace {

constexpr int Cycles = 3;

// Where the markers are, in both encodings.
struct TFindings
{
    QList<Scan::THit> Master;
    QList<Scan::THit> Token;

    static TFindings Of(const QByteArray& master, const QByteArray& token)
    {
        return {Scan::Find(master) + Scan::Find(Scan::MaskedUtf16(master)),
                Scan::Find(token) + Scan::Find(Scan::MaskedUtf16(token))};
    }
};

// A database with a token whose password is the token marker, written
// through a scratch file whose storage is emptied again.
void CreateMarkedDatabase(const QString& fileName, const QByteArray& master,
                          const QByteArray& token)
{
    const auto scratch = GetLockwyn()->GetDatabaseFile()->CreateScratchFile();
    scratch->SetKeyDerivationSettings(CheapKdf);
    const auto storage = scratch->GetTokenStorage();
    storage->SetMasterPassword(Scan::Unmasked(master));
    const auto history = GetLockwyn()->GetOperationHistory();
    history->Execute(storage->GetRootGroup()->CreateAddTokenOperation(
        "Bank", "anna", Scan::Unmasked(token), "https://bank.example", "", false, {}, false,
        nullptr, nullptr));
    history->Clear();
    QCOMPARE(scratch->CreateFile(fileName), Lockwyn::DatabaseFileCode::Ok);
    scratch->Close();
    storage->Clear();
}

// Each time the unlock dialog shows, runs `whileShown`, then unlocks again
// with the master password (handed over in the dialog's own password field).
class TUnlockAnswerer : public QObject
{
public:
    TUnlockAnswerer(const QByteArray& master, std::function<void()> whileShown)
        : FMaster(master), FWhileShown(std::move(whileShown))
    {
        connect(&FTimer, &QTimer::timeout, this, &TUnlockAnswerer::Poll);
        FTimer.start(5);
    }

private:
    void Poll()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TfStartDialog*>(window);
            if (!dialog || !dialog->isVisible() || dialog == FAnswered)
                continue;
            FAnswered = dialog;
            FWhileShown();
            dialog->GetDatabaseNameAndPassword()->GetPasswordEditor()->SetPassword(
                Scan::Unmasked(FMaster));
            dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        }
    }

    QByteArray FMaster;
    std::function<void()> FWhileShown;
    QTimer FTimer;
    QPointer<TfStartDialog> FAnswered;
};

} // namespace

class TestMemoryAfterLock : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    const QByteArray FMaster = Scan::NewMaskedMarker("MasterMarker");
    const QByteArray FToken = Scan::NewMaskedMarker("TokenMarker");

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        ResetDatabase();
        const QString database = FDir.filePath("marked.lwdb");
        CreateMarkedDatabase(database, FMaster, FToken);
        GUISettings().SetLastDatabaseFileName(database);
    }

    void cleanupTestCase()
    {
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void nothingSecretIsLeftOnceLocked()
    {
        QList<TFindings> unlocked;
        QList<TFindings> locked;
        TUnlockAnswerer answerer(FMaster, [&] { locked.append(TFindings::Of(FMaster, FToken)); });
        TfMain form; // the start dialog opens the database
        QVERIFY(LockwynApp().GetInitialized());
        for (int cycle = 0; cycle < Cycles; ++cycle) {
            QVERIFY(!LockwynApp().GetLocked());
            unlocked.append(TFindings::Of(FMaster, FToken));
            LockwynApp().Lock(); // returns once the unlock dialog has opened it again
        }
        QCOMPARE(locked.size(), Cycles + 1); // the first answer was the start dialog's
        locked.removeFirst();
        for (int cycle = 0; cycle < Cycles; ++cycle) {
            qInfo("cycle %d: unlocked, the master password %lld and the token password %lld "
                  "times; locked, %lld and %lld times",
                  cycle + 1, qlonglong(unlocked[cycle].Master.size()),
                  qlonglong(unlocked[cycle].Token.size()), qlonglong(locked[cycle].Master.size()),
                  qlonglong(locked[cycle].Token.size()));
            QVERIFY2(!unlocked[cycle].Token.isEmpty(), "the search does not see the open database");
            QVERIFY2(locked[cycle].Master.isEmpty(),
                     qPrintable("master password: " + Scan::Describe(locked[cycle].Master)));
            QVERIFY2(locked[cycle].Token.isEmpty(),
                     qPrintable("token password: " + Scan::Describe(locked[cycle].Token)));
        }
    }
};

// As the program's entry does, before anything else.
int main(int argc, char** argv)
{
    Platform::HardenHeap();
    QApplication app(argc, argv);
    TestMemoryAfterLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_MemoryAfterLock.moc"
