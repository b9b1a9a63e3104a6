// The wait dialog over a real web auto-login library (Chromium, headless)
// and a local HTTP server: it closes with OK when its session completes,
// shows that session's progress only, and closes with Cancel at the user's
// word.

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "FormFillLib.WebAutoLogin.h"
#include "Forms.WebSessionWait.h"
#include "Orvanta.Vcl.RingProgress.h"
#include "WebTestServer.h"

using namespace Lockwyn;

namespace {

const QString ChromiumLauncher = QStringLiteral("/usr/bin/chromium");
constexpr int WaitLimitMs = 60000;

const QByteArray LoginPage =
    "<!doctype html><form><input name=\"user\"><input name=\"pass\" type=\"password\"></form>";

} // namespace

class TestWebSessionWait : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void completionClosesWithOk();
    void otherSessionsAreIgnored();
    void cancelClosesWithCancel_data();
    void cancelClosesWithCancel();
    void sessionDoneBeforeShowing();
    void handlersGoWithTheDialog();

private:
    // Runs the dialog, with a limit so a dialog that never closes fails the
    // test instead of hanging it.
    int Run(TfWebSessionWait& dialog);
    std::shared_ptr<IWebAutoLoginSession> Analyze(const QString& path)
    {
        return FLibrary->StartAnalyzeSession(FServer->Url(path).toString());
    }

    std::unique_ptr<TWebTestServer> FServer;
    std::unique_ptr<QTemporaryDir> FData;
    std::shared_ptr<TWebAutoLogin> FLibrary;
};

void TestWebSessionWait::initTestCase()
{
    if (!QFileInfo(ChromiumLauncher).isExecutable())
        QSKIP("Chromium is not installed (scripts/install-deps installs it)");
}

void TestWebSessionWait::init()
{
    FServer = std::make_unique<TWebTestServer>();
    FServer->ServePage(QStringLiteral("/login"), LoginPage);
    FServer->ServePage(QStringLiteral("/slow"), LoginPage);
    FData = std::make_unique<QTemporaryDir>();
    FLibrary = std::make_shared<TWebAutoLogin>(TWebAutoLoginOptions{FData->path(), true});
    FLibrary->SetUseDefaultBrowser(false);
    FLibrary->SetBrowserPath(ChromiumLauncher);
}

void TestWebSessionWait::cleanup()
{
    FLibrary.reset();
    FServer.reset();
    FData.reset();
}

int TestWebSessionWait::Run(TfWebSessionWait& dialog)
{
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &dialog, [&dialog] { dialog.done(QDialog::Rejected + 99); });
    limit.start(WaitLimitMs);
    const int result = dialog.ShowModal();
    if (!limit.isActive())
        qWarning("the dialog did not close by itself");
    return limit.isActive() ? result : -1;
}

void TestWebSessionWait::completionClosesWithOk()
{
    TfWebSessionWait dialog(FLibrary);
    auto* ring = dialog.findChild<TOvRingProgress*>(QStringLiteral("rpProgress"));
    QVERIFY(ring);
    QCOMPARE(ring->minimum(), 0);
    QCOMPARE(ring->maximum(), 100);
    QCOMPARE(ring->value(), 0);
    QList<int> shown;
    connect(ring, &QProgressBar::valueChanged, this, [&](int value) { shown << value; });
    const auto session = Analyze(QStringLiteral("/login"));
    dialog.SetCurrentSession(session);

    QCOMPARE(Run(dialog), mrOk);
    QVERIFY(!dialog.GetCancelled());
    QCOMPARE(dialog.GetCurrentSession(), session);
    QVERIFY(session->GetAnalyzerResult());
    QVERIFY(shown.size() > 1);
    QVERIFY(std::is_sorted(shown.cbegin(), shown.cend()));
    QCOMPARE(ring->value(), 100);
}

void TestWebSessionWait::otherSessionsAreIgnored()
{
    FServer->Hold(QStringLiteral("/slow"));
    TfWebSessionWait dialog(FLibrary);
    auto* ring = dialog.findChild<TOvRingProgress*>(QStringLiteral("rpProgress"));
    const auto waitedFor = Analyze(QStringLiteral("/slow"));
    dialog.SetCurrentSession(waitedFor);
    const auto other = Analyze(QStringLiteral("/login"));
    bool openAfterOther = false;
    int ringAfterOther = -1;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (other->GetState() == TWebSessionState::wssRunning || ringAfterOther >= 0)
            return;
        openAfterOther = dialog.isVisible();
        ringAfterOther = ring->value();
        FServer->Release(QStringLiteral("/slow"));
    });
    watch.start(50);

    QCOMPARE(Run(dialog), mrOk);
    QVERIFY(openAfterOther);
    QVERIFY(ringAfterOther < 100);
    QCOMPARE(waitedFor->GetState(), TWebSessionState::wssDone);
}

void TestWebSessionWait::cancelClosesWithCancel_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape key") << true;
}

void TestWebSessionWait::cancelClosesWithCancel()
{
    QFETCH(bool, escape);
    FServer->Hold(QStringLiteral("/slow"));
    TfWebSessionWait dialog(FLibrary);
    const auto session = Analyze(QStringLiteral("/slow"));
    dialog.SetCurrentSession(session);
    QTimer::singleShot(0, &dialog, [&] {
        QTRY_VERIFY_WITH_TIMEOUT(!FServer->RequestsFor(QStringLiteral("/slow")).isEmpty(),
                                 WaitLimitMs);
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnCancel")),
                              Qt::LeftButton);
    });

    QCOMPARE(Run(dialog), mrCancel);
    QVERIFY(dialog.GetCancelled());
    QCOMPARE(session->GetState(), TWebSessionState::wssRunning);
    FLibrary->CancelSession(session);
    FServer->Release(QStringLiteral("/slow"));
}

// A session that is over before the dialog shows does not leave it waiting.
void TestWebSessionWait::sessionDoneBeforeShowing()
{
    TfWebSessionWait dialog(FLibrary);
    const auto session = FLibrary->StartAnalyzeSession(QStringLiteral("javascript:alert(1)"));
    QTRY_COMPARE(session->GetState(), TWebSessionState::wssDone);
    dialog.SetCurrentSession(session);
    QCOMPARE(Run(dialog), mrOk);
}

// A session that completes after the dialog is gone reaches no handler of
// it.
void TestWebSessionWait::handlersGoWithTheDialog()
{
    auto dialog = std::make_unique<TfWebSessionWait>(FLibrary);
    const auto session = Analyze(QStringLiteral("/login"));
    dialog->SetCurrentSession(session);
    dialog.reset();
    QTRY_COMPARE_WITH_TIMEOUT(session->GetState(), TWebSessionState::wssDone, WaitLimitMs);
}

QTEST_MAIN(TestWebSessionWait)
#include "tst_WebSessionWait.moc"
