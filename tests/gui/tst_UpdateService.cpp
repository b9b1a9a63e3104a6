// The update check against a web server in the test process: what the user is
// told for a newer, the same and an older version, for a malformed or huge
// answer and for a server that cannot be reached; the automatic check stays
// silent unless a newer version exists, and the window never waits for it.

#include <QDesktopServices>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.ProductPage.h"
#include "Lockwyn.UpdateService.h"
#include "SessionTestSupport.h"

using SessionTest::TMessageBoxAnswerer;

namespace {

const QString Running = QStringLiteral("1.4.0");

// Answers every request with one canned response and remembers the requests.
class THttpTestServer : public QObject
{
public:
    THttpTestServer()
    {
        FServer.listen(QHostAddress::LocalHost);
        connect(&FServer, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = FServer.nextPendingConnection())
                Serve(socket);
        });
    }

    QUrl Url() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/version.json").arg(FServer.serverPort()));
    }
    // Without a length the body ends when the connection closes.
    void SetResponse(const QByteArray& status, const QByteArray& body, bool announceLength = true)
    {
        FStatus = status;
        FBody = body;
        FAnnounceLength = announceLength;
    }
    const QList<QByteArray>& Requests() const { return FRequests; }

private:
    void Serve(QTcpSocket* socket)
    {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            FPending[socket] += socket->readAll();
            if (!FPending[socket].contains("\r\n\r\n"))
                return;
            FRequests.append(FPending.take(socket).split('\r').first());
            QByteArray head = "HTTP/1.1 " + FStatus + "\r\nContent-Type: application/json\r\n";
            if (FAnnounceLength)
                head += "Content-Length: " + QByteArray::number(FBody.size()) + "\r\n";
            socket->write(head + "Connection: close\r\n\r\n" + FBody);
            socket->disconnectFromHost();
        });
    }

    QTcpServer FServer;
    QByteArray FStatus = "200 OK";
    QByteArray FBody;
    bool FAnnounceLength = true;
    QHash<QTcpSocket*, QByteArray> FPending;
    QList<QByteArray> FRequests;
};

QString Newer(const QString& newest)
{
    return Lockwyn::Format(LocalizedStrings().FUpdateAvailableMessage, newest, Running,
                           ProductPageUrl().toString());
}

QString Current()
{
    return Lockwyn::Format(LocalizedStrings().FUpdateCurrentMessage, Running);
}

} // namespace

// Takes the URLs the program hands to the browser.
class TUrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> Opened;

public Q_SLOTS:
    void Open(const QUrl& url) { Opened.append(url); }
};

class TestUpdateService : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<THttpTestServer> FServer;
    std::unique_ptr<TMessageBoxAnswerer> FAnswers;
    std::unique_ptr<TOvUpdateService> FService;
    TUrlCatcher FBrowser;

    // The answer of the last check Run waited for.
    std::optional<TUpdateCheckResult> FResult;

    // Runs a check and waits for its end.
    void Run(const std::function<void()>& start)
    {
        FResult.reset();
        QSignalSpy finished(FService.get(), &TOvUpdateService::CheckFinished);
        start();
        // The window goes on while the server is asked.
        QVERIFY(FService->GetChecking());
        QVERIFY(FAnswers->Messages().isEmpty());
        QVERIFY(finished.wait(20000));
        FResult = finished.first().first().value<TUpdateCheckResult>();
    }

private Q_SLOTS:
    void initTestCase() { QDesktopServices::setUrlHandler("https", &FBrowser, "Open"); }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("https"); }

    void init()
    {
        FServer = std::make_unique<THttpTestServer>();
        FAnswers = std::make_unique<TMessageBoxAnswerer>();
        FService = std::make_unique<TOvUpdateService>();
        FService->SetVersionDocumentUrl(FServer->Url());
        FService->SetCurrentVersion(Running);
        FBrowser.Opened.clear();
    }

    void cleanup()
    {
        QVERIFY2(FAnswers->Unexpected().isEmpty(), qPrintable(FAnswers->Unexpected().join(" | ")));
        QCOMPARE(FAnswers->PendingAnswers(), 0);
        FService.reset();
        FAnswers.reset();
        FServer.reset();
    }

    void theDocumentLiesBesideTheProductPage()
    {
        QCOMPARE(VersionDocumentUrl(), QUrl("https://lockwyn.example/version.json"));
    }

    void checkTellsWhatTheServerSays_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("announceLength");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        const auto newer = int(TUpdateCheckResult::ucrNewerVersion);
        const auto current = int(TUpdateCheckResult::ucrCurrentVersion);
        const auto unreadable = int(TUpdateCheckResult::ucrAnswerUnreadable);
        const QString cannotRead = LocalizedStrings().FUpdateAnswerUnreadable;
        const QByteArray huge = R"({"version": "2.0"})" + QByteArray(1 << 20, ' ');

        QTest::newRow("newer") << QByteArray("200 OK") << QByteArray(R"({"version": "1.10"})")
                               << true << newer << Newer("1.10");
        QTest::newRow("same") << QByteArray("200 OK") << QByteArray(R"({"version": "1.4.0"})")
                              << true << current << Current();
        QTest::newRow("older") << QByteArray("200 OK") << QByteArray(R"({"version": "1.3.9"})")
                               << true << current << Current();
        QTest::newRow("not JSON") << QByteArray("200 OK") << QByteArray("<html>moved</html>")
                                  << true << unreadable << cannotRead;
        QTest::newRow("no version") << QByteArray("200 OK") << QByteArray(R"({"latest": "2.0"})")
                                    << true << unreadable << cannotRead;
        QTest::newRow("number") << QByteArray("200 OK") << QByteArray(R"({"version": 2})") << true
                                << unreadable << cannotRead;
        QTest::newRow("suffix") << QByteArray("200 OK") << QByteArray(R"({"version": "2.0-beta"})")
                                << true << unreadable << cannotRead;
        QTest::newRow("not found")
            << QByteArray("404 Not Found") << QByteArray(R"({"version": "2.0"})") << true
            << unreadable << cannotRead;
        QTest::newRow("huge, announced")
            << QByteArray("200 OK") << huge << true << unreadable << cannotRead;
        QTest::newRow("huge, unannounced")
            << QByteArray("200 OK") << huge << false << unreadable << cannotRead;
    }

    void checkTellsWhatTheServerSays()
    {
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, announceLength);
        QFETCH(int, result);
        QFETCH(QString, message);
        FServer->SetResponse(status, body, announceLength);
        FAnswers->Answer(result == int(TUpdateCheckResult::ucrNewerVersion)
                             ? LocalizedStrings().FUpdateCloseButtonCaption
                             : QStringLiteral("OK"));
        Run([this] { FService->Check(); });
        QCOMPARE(int(FResult.value_or(TUpdateCheckResult(-1))), result);
        QCOMPARE(FAnswers->Messages(), QStringList{message});
        // Qt's HTTP client may send a request again after a broken connection.
        QVERIFY(!FServer->Requests().isEmpty());
        for (const QByteArray& request : FServer->Requests())
            QCOMPARE(request, QByteArray("GET /version.json HTTP/1.1"));
        QVERIFY(FBrowser.Opened.isEmpty());
    }

    void theProductPageOpensOnlyWhenAskedFor()
    {
        FServer->SetResponse("200 OK", R"({"version": "3.0"})");
        FAnswers->Answer(LocalizedStrings().FUpdateOpenProductPageButtonCaption);
        Run([this] { FService->Check(); });
        QCOMPARE(FResult.value_or(TUpdateCheckResult(-1)), TUpdateCheckResult::ucrNewerVersion);
        QCOMPARE(FBrowser.Opened, QList<QUrl>{ProductPageUrl()});
    }

    void anUnreachableServerIsToldClearly()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        FService->SetVersionDocumentUrl(
            QUrl(QStringLiteral("http://127.0.0.1:%1/version.json").arg(port)));
        FAnswers->Answer("OK");
        Run([this] { FService->Check(); });
        QCOMPARE(FResult.value_or(TUpdateCheckResult(-1)),
                 TUpdateCheckResult::ucrServerUnreachable);
        QCOMPARE(FAnswers->Messages(), QStringList{LocalizedStrings().FUpdateServerUnreachable});
    }

    void theAutomaticCheckSpeaksOnlyOfANewerVersion_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("newer") << QByteArray(R"({"version": "2.0"})") << QStringList{Newer("2.0")};
        QTest::newRow("same") << QByteArray(R"({"version": "1.4.0"})") << QStringList{};
        QTest::newRow("malformed") << QByteArray("{") << QStringList{};
    }

    void theAutomaticCheckSpeaksOnlyOfANewerVersion()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, messages);
        FServer->SetResponse("200 OK", body);
        if (!messages.isEmpty())
            FAnswers->Answer(LocalizedStrings().FUpdateCloseButtonCaption);
        QSignalSpy changed(FService.get(), &TOvUpdateService::OnAutoCheckChanged);
        Run([this] { FService->SetAutoCheck(true); });
        QCOMPARE(FAnswers->Messages(), messages);
        QCOMPARE(changed.size(), 1);
        QVERIFY(FService->GetAutoCheck());
    }

    void theAutomaticCheckRunsOncePerRun()
    {
        FServer->SetResponse("200 OK", R"({"version": "1.4.0"})");
        QVERIFY(!FService->GetAutoCheck());
        FService->SetAutoCheck(false);
        QVERIFY(!FService->GetChecking());
        Run([this] { FService->SetAutoCheck(true); });
        FService->SetAutoCheck(false);
        FService->SetAutoCheck(true);
        QVERIFY(!FService->GetChecking());
        QCOMPARE(FServer->Requests().size(), 1);
    }

    void checkingDuringTheAutomaticCheckTellsItsAnswer()
    {
        FServer->SetResponse("200 OK", R"({"version": "1.4.0"})");
        FAnswers->Answer("OK");
        Run([this] {
            FService->SetAutoCheck(true);
            FService->Check();
        });
        QCOMPARE(FAnswers->Messages(), QStringList{Current()});
        QCOMPARE(FServer->Requests().size(), 1);
    }
};

QTEST_MAIN(TestUpdateService)
#include "tst_UpdateService.moc"
