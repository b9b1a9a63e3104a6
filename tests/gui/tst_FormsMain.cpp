#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "Forms.Main.h"
#include "Lockwyn.Settings.h"
#include "Platform.SingleInstance.h"

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

    void destroyingTheMainWindowSavesTheSettings()
    {
        QFile::remove(GUISettings().FileName());
        GUISettings().SetLanguage("de");
        delete new TfMain;
        QFile file(GUISettings().FileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("de"));
        GUISettings().SetLanguage("en");
    }
};

QTEST_MAIN(TestFormsMain)
#include "tst_FormsMain.moc"
