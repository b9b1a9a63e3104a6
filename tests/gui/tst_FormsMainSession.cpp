// What the main window does for the database session: the file-change
// question, the caption and the stay-on-top bracket.

#include <QTemporaryDir>
#include <QTest>

#include "Forms.Main.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "SessionTestSupport.h"

using namespace SessionTest;

namespace {

const QString Password = QStringLiteral("secret");

} // namespace

class TestFormsMainSession : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FDatabase;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        ResetDatabase();
        FDatabase = FDir.filePath("a.lwdb");
        CreateDatabaseFile(FDatabase, Password, {"Mail"});
        GUISettings().SetLastDatabaseFileName(FDatabase);
        AnswerStartDialogWithPassword(Password);
    }

    void cleanupTestCase()
    {
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void startOpensTheLastDatabase()
    {
        TfMain form;
        QVERIFY(LockwynApp().GetInitialized());
        QCOMPARE(OpenGroupTitles(), QStringList{"Mail"});
        QVERIFY(form.isVisible());
    }

    void captionNamesTheFileAndReadOnlyMode()
    {
        TfMain form;
        form.UpdateCaption();
        QCOMPARE(form.windowTitle(), QStringLiteral("Lockwyn - a.lwdb"));
        LockwynApp().SetReadOnlyMode(true);
        form.UpdateCaption();
        QCOMPARE(form.windowTitle(), QStringLiteral("Lockwyn - a.lwdb [Read Only]"));
        LockwynApp().SetReadOnlyMode(false);
    }

    void stayOnTopIsDroppedForTheOutermostDialogOnly_data()
    {
        QTest::addColumn<bool>("alwaysOnTop");
        QTest::newRow("always on top") << true;
        QTest::newRow("normal") << false;
    }

    void stayOnTopIsDroppedForTheOutermostDialogOnly()
    {
        QFETCH(bool, alwaysOnTop);
        GUISettings().SetAlwaysOnTop(alwaysOnTop);
        TfMain form;
        form.setWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop);
        form.show();
        const auto onTop = [&] {
            return form.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        };
        form.NormalizeTopMost();
        form.NormalizeTopMost();
        QVERIFY(!onTop());
        form.RestoreTopMost();
        QVERIFY(!onTop());
        form.RestoreTopMost();
        QCOMPARE(onTop(), alwaysOnTop);
        QVERIFY(form.isVisible());
        form.RestoreTopMost(); // unbalanced: nothing
        QCOMPARE(onTop(), alwaysOnTop);
        GUISettings().SetAlwaysOnTop(false);
    }

    // The last test: the 3000 ms gate of the real clock allows one question.
    void changeByAnotherProgramAsksAndReloads()
    {
        TfMain form;
        TMessageBoxAnswerer answers;
        answers.Answer("Yes");
        AddGroupElsewhere(FDatabase, Password, "Bank");
        QTRY_COMPARE(answers.Messages(),
                     QStringList{LocalizedStrings().FDatabaseFileModifiedDlgMessage});
        QTRY_COMPARE(OpenGroupTitles(), (QStringList{"Mail", "Bank"}));
        QVERIFY(answers.Unexpected().isEmpty());
    }
};

QTEST_MAIN(TestFormsMainSession)
#include "tst_FormsMainSession.moc"
