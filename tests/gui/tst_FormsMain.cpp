#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "Forms.Main.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "Platform.SingleInstance.h"
#include "SessionTestSupport.h"

class TestFormsMain : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        // The first main window starts the controller, which opens a database
        // through the start dialog; later ones find it started.
        SessionTest::ResetDatabase();
        const QString database = FDir.filePath("a.lwdb");
        SessionTest::CreateDatabaseFile(database, "secret");
        GUISettings().SetLastDatabaseFileName(database);
        SessionTest::AnswerStartDialogWithPassword("secret");
        TfMain first;
        QVERIFY(LockwynApp().GetInitialized());
        QCOMPARE(GetLockwyn()->GetDatabaseFile()->GetFileName(), database);
    }

    void cleanupTestCase()
    {
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void instanceMessageBringsHiddenWindowIntoView()
    {
        TfMain form;
        QSignalSpy received(&form, &TfMain::InstanceMessageReceived);
        QVERIFY(!form.isVisible());
        QCoreApplication::postEvent(qApp, new Platform::TInstanceMessageEvent);
        QTRY_COMPARE(received.count(), 1);
        QVERIFY(form.isVisible());
    }

    void instanceMessageLeavesVisibleWindowAsItIs()
    {
        TfMain form;
        form.showMinimized();
        QSignalSpy received(&form, &TfMain::InstanceMessageReceived);
        QCoreApplication::postEvent(qApp, new Platform::TInstanceMessageEvent);
        QTRY_COMPARE(received.count(), 1);
        QVERIFY(form.isMinimized());
    }

    // The file holds what was set, for the owner's eyes only.
    void destroyingTheMainWindowSavesTheSettings()
    {
        QFile::remove(GUISettings().FileName());
        GUISettings().SetLanguage("de");
        delete new TfMain;
        GUISettings().SetLanguage("en");
        TLockwynGUISettings saved(GetLockwyn()->GetPasswordGenerator()->GetDefaultSettings());
        saved.SetFileName(GUISettings().FileName());
        QCOMPARE(saved.Load(), TAppSettingsLoadResult::aslrLoaded);
        QCOMPARE(saved.Language(), QStringLiteral("de"));
        QCOMPARE(QFile::permissions(saved.FileName()),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                     QFileDevice::WriteUser);
    }
};

QTEST_MAIN(TestFormsMain)
#include "tst_FormsMain.moc"
