// A change runs through the undo history with the selection recorded around
// it and is saved at once; undo and redo bring back file and selection.

#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "SessionTestSupport.h"

using namespace Lockwyn;
using namespace SessionTest;

namespace {
const QString Password = QStringLiteral("correct horse");
}

class TestEditingProtocol : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FFile;
    std::shared_ptr<TScript> FScript;
    std::unique_ptr<TTestApp> FApp;
    std::unique_ptr<TTestMainView> FMain;
    std::unique_ptr<TMessageBoxAnswerer> FAnswers;

    std::shared_ptr<IOperationHistory> History() { return GetLockwyn()->GetOperationHistory(); }

    // Adds a group the way a command does, selecting it afterwards.
    std::shared_ptr<ITokenGroup> AddGroupThroughTheProtocol(const QString& title)
    {
        const auto op = FApp->GetRootGroup()->CreateAddGroupOperation(title, false, {}, nullptr);
        EditingProtocol::Execute(*FApp, op, [&] { FMain->Tree.Selected = op->GetResult(); });
        return op->GetResult();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        FFile = FDir.filePath("a.lwdb");
    }

    void cleanupTestCase()
    {
        ResetDatabase();
        ReleaseLibraryConnections();
    }

    void init()
    {
        ResetDatabase();
        CreateDatabaseFile(FFile, Password, {"Mail"});
        FScript = std::make_shared<TScript>();
        FApp = std::make_unique<TTestApp>(FScript);
        FMain = std::make_unique<TTestMainView>(FApp.get());
        FAnswers = std::make_unique<TMessageBoxAnswerer>();
        FScript->Rounds.enqueue({TStartDialogResult::sdrOpenDatabase, FFile, Password, false, {}});
        FApp->Start();
        FMain->Tree.Selected = FApp->GetRootGroup()->GetGroups().first();
    }

    void cleanup()
    {
        QVERIFY2(FAnswers->Unexpected().isEmpty(), qPrintable(FAnswers->Unexpected().join(" | ")));
        FAnswers.reset();
        FMain.reset();
        FApp.reset();
    }

    void executeSavesAtOnceWithTheSelectionAroundIt()
    {
        const auto mail = FMain->Tree.Selected;
        const auto bank = AddGroupThroughTheProtocol("Bank");
        QCOMPARE(GroupTitlesOf(FFile, Password), (QStringList{"Mail", "Bank"}));
        QCOMPARE(FApp->GetSelectionHistory()->GetCount(), 2);

        const int updates = FMain->Tree.Updates;
        EditingProtocol::Undo(*FApp);
        QCOMPARE(GroupTitlesOf(FFile, Password), QStringList{"Mail"});
        QCOMPARE(FMain->Tree.Selected, mail);
        QCOMPARE(FMain->Tree.Updates, updates + 1);

        EditingProtocol::Redo(*FApp);
        QCOMPARE(GroupTitlesOf(FFile, Password), (QStringList{"Mail", "Bank"}));
        QCOMPARE(FMain->Tree.Selected->GetID(), bank->GetID());
    }

    void undoAndRedoWithNothingToDoChangeNothing()
    {
        const int updates = FMain->Tree.Updates;
        EditingProtocol::Undo(*FApp);
        EditingProtocol::Redo(*FApp);
        QCOMPARE(FMain->Tree.Updates, updates);
        QVERIFY(FAnswers->Messages().isEmpty());
    }

    void undoInReadOnlyModeAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("groupsAfter");
        QTest::newRow("leave read-only mode") << "Yes" << QStringList{"Mail"};
        QTest::newRow("stay read-only") << "No" << QStringList{"Mail", "Bank"};
    }

    void undoInReadOnlyModeAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, groupsAfter);
        AddGroupThroughTheProtocol("Bank");
        FApp->SetReadOnlyMode(true);
        FAnswers->Answer(answer);
        EditingProtocol::Undo(*FApp);
        QCOMPARE(FAnswers->Messages(), QStringList{LocalizedStrings().FReadOnlyDisableDlgMessage});
        QCOMPARE(GroupTitlesOf(FFile, Password), groupsAfter);
        // Memory and file agree either way.
        QCOMPARE(OpenGroupTitles(), groupsAfter);
    }
};

QTEST_MAIN(TestEditingProtocol)
#include "tst_EditingProtocol.moc"
