// Web auto-login against a real Chromium, headless, and pages served by a
// local HTTP server: what the server receives on submit, what the library
// refuses to fill, what an analysis finds, and that no browser process and no
// trace of the credentials outlive a session.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

#include "DesktopTestFixture.h"
#include "FormFillLib.Browser.h"
#include "FormFillLib.WebAutoLogin.h"
#include "WebTestServer.h"

using namespace Lockwyn;

namespace {

// Debian's launcher script; the library runs the browser it starts.
const QString ChromiumLauncher = QStringLiteral("/usr/bin/chromium");
constexpr int SessionTimeoutMs = 60000;

// Every page tells the server when a field is typed into, and once typing has
// been quiet for a while, so a test can wait for that instead of guessing.
const QByteArray PageScript = R"html(
<script>
  const seen = {};
  let quiet;
  document.addEventListener("input", (e) => {
    seen[e.target.name] = e.target.value;
    navigator.sendBeacon("/typed", e.target.name);
    clearTimeout(quiet);
    quiet = setTimeout(() => navigator.sendBeacon("/quiet"), 700);
  }, true);
  document.addEventListener("submit", (e) => {
    const observed = e.target.querySelector("[name=observed]");
    if (observed)
      observed.value = Array.from(e.target.querySelectorAll("input:not([type=hidden])"))
        .every((i) => i.type === "submit" || seen[i.name] === i.value) ? "yes" : "no";
  }, true);
</script>)html";

QByteArray Page(const QByteArray& body)
{
    return "<!doctype html><html><head><title>Test</title></head><body>" + body + PageScript +
           "</body></html>";
}

const QByteArray PlainForm = R"html(
<form action="/submit" method="post">
  <input id="user" name="user" type="text">
  <input id="pass" name="pass" type="password">
  <input type="hidden" name="observed">
  <button type="submit">Log in</button>
</form>)html";

const QByteArray TwoForms = R"html(
<form action="/search"><input name="q" type="text"><button>Search</button></form>
<form action="/submit" method="post">
  <input id="login-name" name="login" type="text" autocomplete="username">
  <input id="secret" name="secret" type="password">
  <input type="hidden" name="observed">
  <input type="submit" value="Sign in">
</form>)html";

const QByteArray LateForm = R"html(
<div id="place"></div>
<script>
  setTimeout(() => {
    document.getElementById("place").innerHTML =
      '<form action="/submit" method="post"><input name="user">' +
      '<input name="pass" type="password"><input type="hidden" name="observed">' +
      '<button>Go</button></form>';
  }, 1500);
</script>)html";

const QByteArray FramedForm = R"html(<iframe src="/plain" width="400" height="300"></iframe>)html";
const QByteArray NoForm = R"html(<p>Nothing to log in to here.</p>)html";

// A form-encoded field of a request body.
QString FormValue(const QByteArray& body, const QString& name)
{
    for (const QByteArray& pair : body.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        QByteArray key = pair.left(equals);
        QByteArray value = pair.mid(equals + 1);
        if (QUrl::fromPercentEncoding(key.replace('+', ' ')) == name)
            return QUrl::fromPercentEncoding(value.replace('+', ' '));
    }
    return {};
}

bool IsAlive(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray stat = status.readAll();
    // "pid (name) S ...": the state follows the name.
    return stat.mid(stat.lastIndexOf(')') + 2, 1) != "Z";
}

// The browser's processes: its process group, and its helpers that carry the
// private folder in their command line.
QList<qint64> BrowserProcesses(const TBrowser& browser)
{
    QList<qint64> pids;
    const QByteArray marker = QFile::encodeName(browser.PrivateFolder());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || !IsAlive(pid))
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
        const qint64 group = fields.value(2).toLongLong(); // state, ppid, pgrp
        if (group == browser.ProcessId() || cmdline.readAll().contains(marker))
            pids << pid;
    }
    return pids;
}

QList<qint64> AliveOf(const QList<qint64>& pids)
{
    QList<qint64> alive;
    for (qint64 pid : pids)
        if (IsAlive(pid))
            alive << pid;
    return alive;
}

// Files under a folder that hold the text, as UTF-8 or UTF-16.
QStringList FilesContaining(const QString& folder, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QStringList found;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray content = file.readAll();
        if (content.contains(utf8) || content.contains(utf16))
            found << file.fileName();
    }
    return found;
}

QByteArray ProcFile(qint64 pid, const char* name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

namespace Lockwyn {
char* toString(const TWebFormLoginFieldsInfo& fields)
{
    const auto field = [](const TWebFormFieldInfo& info) {
        return QStringLiteral("(%1, \"%2\", \"%3\")").arg(info.FormIndex).arg(info.ID, info.Name);
    };
    return QTest::toString(QStringLiteral("%1: user %2, password %3")
                               .arg(fields.LoginFormIndex)
                               .arg(field(fields.LoginFieldInfo), field(fields.PasswordFieldInfo)));
}
} // namespace Lockwyn

class TestFormFillLib : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void loginFillsTheForm_data();
    void loginFillsTheForm();
    void loginWithoutSubmitOnlyFills();
    void loginRefusesAnotherSite();
    void loginReportsMissingForm();
    void pageThatDoesNotLoad_data();
    void pageThatDoesNotLoad();
    void startPageOfACancelledSessionServesTheNext();
    void analysisFindsTheForm_data();
    void analysisFindsTheForm();
    void browsersThatCanBeDriven_data();
    void browsersThatCanBeDriven();
    void onlyWebAddressesReachABrowser_data();
    void onlyWebAddressesReachABrowser();
    void eventsFollowTheSessionsStart();
    void cancelEndsTheBrowser();
    void releaseEndsEveryBrowserProcess();
    void credentialsLeaveNoTrace();
    void otherBrowsersGetThePageOnly();
    void withoutAnyChromiumThePageOpensOnly();

private:
    std::shared_ptr<IWebAutoLoginSession> Login(const QString& path, bool submit,
                                                const QString& redirectPath = {},
                                                const TWebFormLoginFieldsInfo& fields = {});
    void WaitDone(const std::shared_ptr<IWebAutoLoginSession>& session);
    const TBrowser* OnlyBrowser() const;

    std::unique_ptr<TWebTestServer> FServer;
    std::unique_ptr<QTemporaryDir> FData;
    std::unique_ptr<TWebAutoLogin> FLibrary;
    // Sessions the user would have been told about.
    QList<std::shared_ptr<IWebAutoLoginSession>> FNotices;
    QString FUserName;
    QString FPassword;
};

void TestFormFillLib::initTestCase()
{
    if (!QFileInfo(ChromiumLauncher).isExecutable())
        QSKIP("Chromium is not installed (scripts/install-deps installs it)");
}

void TestFormFillLib::init()
{
    FServer = std::make_unique<TWebTestServer>();
    FServer->ServePage(QStringLiteral("/plain"), Page(PlainForm));
    FServer->ServePage(QStringLiteral("/two-forms"), Page(TwoForms));
    FServer->ServePage(QStringLiteral("/late"), Page(LateForm));
    FServer->ServePage(QStringLiteral("/framed"), Page(FramedForm));
    FServer->ServePage(QStringLiteral("/none"), Page(NoForm));
    FServer->ServePage(QStringLiteral("/submit"), "<p>Welcome</p>");
    FServer->ServePage(QStringLiteral("/landing"), "<p>Home</p>");
    TWebTestResponse away;
    away.Status = 302;
    away.Headers << qMakePair(QByteArray("Location"),
                              FServer->OtherHostUrl(QStringLiteral("/plain")).toEncoded());
    FServer->Serve(QStringLiteral("/away"), away);

    FData = std::make_unique<QTemporaryDir>();
    FLibrary = std::make_unique<TWebAutoLogin>(TWebAutoLoginOptions{FData->path(), true});
    FLibrary->SetUseDefaultBrowser(false);
    FLibrary->SetBrowserPath(ChromiumLauncher);
    FNotices.clear();
    FLibrary->SetOnSessionNotice(
        [this](IWebAutoLogin*, const std::shared_ptr<IWebAutoLoginSession>& session) {
            FNotices << session;
        });
    // Characters that would break out of a script or a JSON string if the
    // credentials were ever spliced into one.
    FUserName = QStringLiteral("alice \"the admin\" \\ <b>&amp;");
    FPassword = QStringLiteral("p\u00e4ss w\u00f6rd +&=%20 '\"\\ </script> ${x} \u2603 \U0001F600");
}

void TestFormFillLib::cleanup()
{
    FLibrary.reset();
    FServer.reset();
    FData.reset();
}

std::shared_ptr<IWebAutoLoginSession> TestFormFillLib::Login(const QString& path, bool submit,
                                                             const QString& redirectPath,
                                                             const TWebFormLoginFieldsInfo& fields)
{
    const QString redirect =
        redirectPath.isEmpty() ? QString() : FServer->Url(redirectPath).toString();
    return FLibrary->StartLoginSession(FServer->Url(path).toString(), redirect, FUserName,
                                       FPassword, submit, fields);
}

void TestFormFillLib::WaitDone(const std::shared_ptr<IWebAutoLoginSession>& session)
{
    QTRY_VERIFY_WITH_TIMEOUT(session->GetState() != TWebSessionState::wssRunning, SessionTimeoutMs);
}

const TBrowser* TestFormFillLib::OnlyBrowser() const
{
    const QList<const TBrowser*> browsers = FLibrary->Browsers();
    return browsers.size() == 1 ? browsers.first() : nullptr;
}

void TestFormFillLib::loginFillsTheForm_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("userField");
    QTest::addColumn<QString>("passwordField");
    QTest::addColumn<TWebFormLoginFieldsInfo>("fields");
    QTest::addColumn<QString>("redirect");

    const TWebFormLoginFieldsInfo found{};
    QTest::newRow("plain form") << "/plain"
                                << "user"
                                << "pass" << found << QString();
    QTest::newRow("second of two forms") << "/two-forms"
                                         << "login"
                                         << "secret" << found << QString();
    QTest::newRow("fields named by ID")
        << "/two-forms"
        << "login"
        << "secret" << TWebFormLoginFieldsInfo{1, {1, "login-name", ""}, {1, "secret", ""}}
        << QString();
    QTest::newRow("fields named by name")
        << "/two-forms"
        << "login"
        << "secret" << TWebFormLoginFieldsInfo{1, {1, "", "login"}, {1, "", "secret"}} << QString();
    QTest::newRow("form built late") << "/late"
                                     << "user"
                                     << "pass" << found << QString();
    QTest::newRow("form in a frame") << "/framed"
                                     << "user"
                                     << "pass" << found << QString();
    QTest::newRow("then the main address") << "/plain"
                                           << "user"
                                           << "pass" << found << "/landing";
}

void TestFormFillLib::loginFillsTheForm()
{
    QFETCH(QString, path);
    QFETCH(QString, userField);
    QFETCH(QString, passwordField);
    QFETCH(TWebFormLoginFieldsInfo, fields);
    QFETCH(QString, redirect);

    const auto session = Login(path, true, redirect, fields);
    WaitDone(session);
    QVERIFY2(session->GetProblem() == TWebSessionProblem::wspNone,
             qPrintable(session->GetProblemDetail()));
    QCOMPARE(session->GetState(), TWebSessionState::wssDone);
    QTRY_COMPARE_WITH_TIMEOUT(FServer->RequestsFor(QStringLiteral("/submit")).size(), 1,
                              SessionTimeoutMs);
    const QByteArray body = FServer->RequestsFor(QStringLiteral("/submit")).first().Body;
    QCOMPARE(FormValue(body, userField), FUserName);
    QCOMPARE(FormValue(body, passwordField), FPassword);
    // The page's own scripts saw the values arrive.
    QCOMPARE(FormValue(body, QStringLiteral("observed")), QStringLiteral("yes"));
    if (!redirect.isEmpty())
        QTRY_COMPARE_WITH_TIMEOUT(FServer->RequestsFor(redirect).size(), 1, SessionTimeoutMs);
}

// Without submit the form is filled and left; a redirect address would
// throw the filled form away, so it is not opened.
void TestFormFillLib::loginWithoutSubmitOnlyFills()
{
    const auto session = Login(QStringLiteral("/plain"), false, QStringLiteral("/landing"));
    WaitDone(session);
    QCOMPARE(session->GetProblem(), TWebSessionProblem::wspNone);
    QTRY_VERIFY_WITH_TIMEOUT(!FServer->RequestsFor(QStringLiteral("/quiet")).isEmpty(),
                             SessionTimeoutMs);
    QCOMPARE(FServer->RequestsFor(QStringLiteral("/typed")).size(), 2);
    QVERIFY(FServer->RequestsFor(QStringLiteral("/submit")).isEmpty());
    QVERIFY(FServer->RequestsFor(QStringLiteral("/landing")).isEmpty());
}

void TestFormFillLib::loginRefusesAnotherSite()
{
    const auto session = Login(QStringLiteral("/away"), true);
    WaitDone(session);
    QCOMPARE(session->GetProblem(), TWebSessionProblem::wspOtherSite);
    QCOMPARE(session->GetProblemDetail(), QStringLiteral("localhost"));
    // The other site's page was shown, and nothing was typed into it.
    QVERIFY(!FServer->RequestsFor(QStringLiteral("/plain")).isEmpty());
    QCOMPARE(FServer->RequestsFor(QStringLiteral("/plain")).first().Host.left(9),
             QByteArray("localhost"));
    QVERIFY(FServer->RequestsFor(QStringLiteral("/typed")).isEmpty());
    QVERIFY(FServer->RequestsFor(QStringLiteral("/submit")).isEmpty());
}

void TestFormFillLib::loginReportsMissingForm()
{
    const auto session = Login(QStringLiteral("/none"), true);
    WaitDone(session);
    QCOMPARE(session->GetProblem(), TWebSessionProblem::wspNoLoginForm);
    QCOMPARE(FNotices, QList{session});
}

void TestFormFillLib::pageThatDoesNotLoad_data()
{
    QTest::addColumn<bool>("browserRunning");
    QTest::newRow("browser started for it") << false;
    QTest::newRow("browser running") << true;
}

void TestFormFillLib::pageThatDoesNotLoad()
{
    QFETCH(bool, browserRunning);
    if (browserRunning)
        WaitDone(Login(QStringLiteral("/plain"), false));
    // Nothing listens on port 1.
    const auto session = FLibrary->StartLoginSession(QStringLiteral("http://127.0.0.1:1/login"), {},
                                                     FUserName, FPassword, true, {});
    WaitDone(session);
    QCOMPARE(session->GetProblem(), TWebSessionProblem::wspPageNotLoaded);
    QVERIFY(!session->GetProblemDetail().isEmpty());
}

// The browser starts on the first session's page; when that session is
// cancelled before the browser is up, the next one takes the page over.
void TestFormFillLib::startPageOfACancelledSessionServesTheNext()
{
    const auto cancelled = Login(QStringLiteral("/two-forms"), true);
    const auto next = Login(QStringLiteral("/plain"), true);
    FLibrary->CancelSession(cancelled);
    WaitDone(next);
    QCOMPARE(next->GetProblem(), TWebSessionProblem::wspNone);
    QTRY_COMPARE_WITH_TIMEOUT(FServer->RequestsFor(QStringLiteral("/submit")).size(), 1,
                              SessionTimeoutMs);
    QCOMPARE(FormValue(FServer->RequestsFor(QStringLiteral("/submit")).first().Body,
                       QStringLiteral("user")),
             FUserName);
    QCOMPARE(FLibrary->Browsers().size(), 1);
}

void TestFormFillLib::analysisFindsTheForm_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("found");
    QTest::addColumn<TWebFormLoginFieldsInfo>("fields");

    QTest::newRow("plain form") << "/plain" << true
                                << TWebFormLoginFieldsInfo{
                                       0, {0, "user", "user"}, {0, "pass", "pass"}};
    QTest::newRow("second of two forms")
        << "/two-forms" << true
        << TWebFormLoginFieldsInfo{1, {1, "login-name", "login"}, {1, "secret", "secret"}};
    QTest::newRow("form built late")
        << "/late" << true << TWebFormLoginFieldsInfo{0, {0, "", "user"}, {0, "", "pass"}};
    QTest::newRow("form in a frame")
        << "/framed" << true
        << TWebFormLoginFieldsInfo{0, {0, "user", "user"}, {0, "pass", "pass"}};
    QTest::newRow("no form") << "/none" << false << TWebFormLoginFieldsInfo{};
}

void TestFormFillLib::analysisFindsTheForm()
{
    QFETCH(QString, path);
    QFETCH(bool, found);
    QFETCH(TWebFormLoginFieldsInfo, fields);

    const auto session = FLibrary->StartAnalyzeSession(FServer->Url(path).toString());
    WaitDone(session);
    const std::shared_ptr<IWebFormAnalyzerResult> result = session->GetAnalyzerResult();
    QCOMPARE(bool(result), found);
    if (result)
        QCOMPARE(result->GetLoginFieldsInfo(), fields);
    // Finding is not typing.
    QVERIFY(FServer->RequestsFor(QStringLiteral("/typed")).isEmpty());
}

void TestFormFillLib::browsersThatCanBeDriven_data()
{
    QTest::addColumn<QString>("program"); // {dir}: a folder of made-up programs
    QTest::addColumn<QString>("key");     // empty: cannot be driven
    QTest::addColumn<QString>("runs");

    // Debian's launcher adds flags of its own; the browser behind it runs.
    QTest::newRow("Debian's Chromium launcher") << ChromiumLauncher << "chromium"
                                                << "/usr/lib/chromium/chromium";
    QTest::newRow("Chromium itself") << "/usr/lib/chromium/chromium"
                                     << "chromium"
                                     << "/usr/lib/chromium/chromium";
    QTest::newRow("Chrome's launcher where its program is not found")
        << "{dir}/google-chrome-stable"
        << "chrome"
        << "{dir}/google-chrome-stable";
    QTest::newRow("Edge") << "{dir}/microsoft-edge"
                          << "edge"
                          << "{dir}/microsoft-edge";
    QTest::newRow("Firefox") << "{dir}/firefox"
                             << ""
                             << "";
    QTest::newRow("no such program") << "{dir}/missing/chromium"
                                     << ""
                                     << "";
}

void TestFormFillLib::browsersThatCanBeDriven()
{
    QFETCH(QString, program);
    QFETCH(QString, key);
    QFETCH(QString, runs);
    TDesktopTestFixture desktop;
    for (const char* name : {"google-chrome-stable", "microsoft-edge", "firefox"})
        desktop.AddProgram(QLatin1String(name));
    const auto inFolder = [&](QString path) {
        return path.replace(QLatin1String("{dir}"), desktop.Programs());
    };

    const std::optional<TChromiumBrowser> browser = ChromiumBrowserOf(inFolder(program));
    QCOMPARE(browser ? browser->Key : QString(), key);
    QCOMPARE(browser ? browser->Program : QString(), inFolder(runs));
}

void TestFormFillLib::onlyWebAddressesReachABrowser_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("script") << "javascript:alert(1)";
    QTest::newRow("file") << "file:///etc/passwd";
    QTest::newRow("data") << "data:text/html,<form>";
    QTest::newRow("empty") << "";
}

void TestFormFillLib::onlyWebAddressesReachABrowser()
{
    QFETCH(QString, url);
    const auto session = FLibrary->StartLoginSession(url, {}, FUserName, FPassword, true, {});
    WaitDone(session);
    QCOMPARE(session->GetProblem(), TWebSessionProblem::wspNotWebAddress);
    QVERIFY(FLibrary->Browsers().isEmpty());
}

// The caller holds the session before any event about it arrives, and
// progress only grows up to 1 before completion.
void TestFormFillLib::eventsFollowTheSessionsStart()
{
    std::shared_ptr<IWebAutoLoginSession> session;
    QList<double> progress;
    QList<std::shared_ptr<IWebAutoLoginSession>> completed;
    bool eventBeforeStartReturned = false;
    FLibrary->SetOnSessionProgress(
        [&](IWebAutoLogin*, const std::shared_ptr<IWebAutoLoginSession>& s, double value) {
            eventBeforeStartReturned |= !session;
            QCOMPARE(s, session);
            progress << value;
        });
    FLibrary->SetOnSessionComplete(
        [&](IWebAutoLogin*, const std::shared_ptr<IWebAutoLoginSession>& s) { completed << s; });
    session = Login(QStringLiteral("/plain"), false);
    WaitDone(session);
    QVERIFY(!eventBeforeStartReturned);
    QCOMPARE(completed, QList{session});
    QVERIFY(!progress.isEmpty());
    QVERIFY(std::is_sorted(progress.cbegin(), progress.cend()));
    QCOMPARE(progress.last(), 1.0);
}

void TestFormFillLib::cancelEndsTheBrowser()
{
    FServer->Hold(QStringLiteral("/plain"));
    const auto session = FLibrary->StartAnalyzeSession(FServer->Url("/plain").toString());
    QTRY_VERIFY_WITH_TIMEOUT(!FServer->RequestsFor(QStringLiteral("/plain")).isEmpty(),
                             SessionTimeoutMs);
    const TBrowser* browser = OnlyBrowser();
    QVERIFY(browser);
    const QList<qint64> pids = BrowserProcesses(*browser);
    QVERIFY(pids.contains(browser->ProcessId()));
    QVERIFY(pids.size() > 1);
    bool completed = false;
    FLibrary->SetOnSessionComplete(
        [&](IWebAutoLogin*, const std::shared_ptr<IWebAutoLoginSession>&) { completed = true; });

    FLibrary->CancelSession(session);
    QCOMPARE(session->GetState(), TWebSessionState::wssCancelled);
    QTRY_COMPARE_WITH_TIMEOUT(AliveOf(pids), QList<qint64>(), SessionTimeoutMs);
    QTRY_VERIFY(FLibrary->Browsers().isEmpty());
    QVERIFY(!completed);
    FServer->Release(QStringLiteral("/plain"));
}

void TestFormFillLib::releaseEndsEveryBrowserProcess()
{
    const auto done = Login(QStringLiteral("/plain"), false);
    WaitDone(done);
    FServer->Hold(QStringLiteral("/late"));
    const auto running = Login(QStringLiteral("/late"), true);
    QTRY_VERIFY_WITH_TIMEOUT(!FServer->RequestsFor(QStringLiteral("/late")).isEmpty(),
                             SessionTimeoutMs);
    const TBrowser* browser = OnlyBrowser();
    QVERIFY(browser);
    const QString privateFolder = browser->PrivateFolder();
    const QList<qint64> pids = BrowserProcesses(*browser);
    QVERIFY(pids.size() > 1);

    FLibrary->ReleaseSessions();
    // Gone when the call returns.
    QCOMPARE(AliveOf(pids), QList<qint64>());
    QCOMPARE(running->GetState(), TWebSessionState::wssCancelled);
    QVERIFY(FLibrary->Browsers().isEmpty());
    QVERIFY(!QFileInfo::exists(privateFolder));
    FServer->Release(QStringLiteral("/late"));
}

void TestFormFillLib::credentialsLeaveNoTrace()
{
    FUserName = QStringLiteral("user-marker-5e1c0a77");
    FPassword = QStringLiteral("pass-marker-93b2f4d1");
    const auto session = Login(QStringLiteral("/plain"), true, QStringLiteral("/landing"));
    WaitDone(session);
    QTRY_COMPARE_WITH_TIMEOUT(FServer->RequestsFor(QStringLiteral("/landing")).size(), 1,
                              SessionTimeoutMs);
    const TBrowser* browser = OnlyBrowser();
    QVERIFY(browser);
    const QString privateFolder = browser->PrivateFolder();
    const QList<qint64> pids = BrowserProcesses(*browser);
    QVERIFY(pids.size() > 1);
    for (const QString& secret : {FUserName, FPassword}) {
        for (qint64 pid : pids) {
            QVERIFY2(!ProcFile(pid, "cmdline").contains(secret.toUtf8()), qPrintable(secret));
            QVERIFY2(!ProcFile(pid, "environ").contains(secret.toUtf8()), qPrintable(secret));
        }
        QCOMPARE(FilesContaining(privateFolder, secret), QStringList());
        qDebug() << FilesContaining(FData->path(), secret);
        QCOMPARE(FilesContaining(FData->path(), secret), QStringList());
    }

    // Also what the browser writes when it ends.
    FLibrary->ReleaseSessions();
    for (const QString& secret : {FUserName, FPassword})
        QCOMPARE(FilesContaining(FData->path(), secret), QStringList());
}

// Firefox and the like get the page without filling; the user hears of it
// once per run for logins, every time for an analysis.
void TestFormFillLib::otherBrowsersGetThePageOnly()
{
    TDesktopTestFixture desktop;
    desktop.AddBrowser(QStringLiteral("chromium.desktop"), QStringLiteral("Chromium"),
                       ChromiumLauncher + QStringLiteral(" %U"));
    const QString otherBrowser = desktop.AddProgram(QStringLiteral("firefox"));
    FLibrary->SetBrowserPath(otherBrowser);

    const auto first = Login(QStringLiteral("/plain"), true);
    WaitDone(first);
    const auto second = Login(QStringLiteral("/two-forms"), true);
    WaitDone(second);
    const auto analysis = FLibrary->StartAnalyzeSession(FServer->Url("/plain").toString());
    WaitDone(analysis);

    for (const auto& session : {first, second, analysis}) {
        QCOMPARE(session->GetProblem(), TWebSessionProblem::wspBrowserCannotFill);
        QCOMPARE(session->GetProblemDetail(), otherBrowser);
    }
    QCOMPARE(FNotices, (QList{first, analysis}));
    QVERIFY(FLibrary->Browsers().isEmpty());
    const QString plain = FServer->Url(QStringLiteral("/plain")).toString();
    const QString twoForms = FServer->Url(QStringLiteral("/two-forms")).toString();
    QTRY_COMPARE(desktop.OpenedWith(otherBrowser), (QStringList{plain, twoForms, plain}));
}

// With no browser that can fill installed, the system's browser shows the
// page.
void TestFormFillLib::withoutAnyChromiumThePageOpensOnly()
{
    TDesktopTestFixture desktop;
    const QString otherBrowser = desktop.AddProgram(QStringLiteral("otherbrowser"));
    desktop.AddBrowser(QStringLiteral("other.desktop"), QStringLiteral("Other"),
                       otherBrowser + QStringLiteral(" %u"));
    desktop.WriteMimeApps("[Default Applications]\nx-scheme-handler/https=other.desktop\n");

    FLibrary->SetUseDefaultBrowser(true);
    const auto session = Login(QStringLiteral("/plain"), true);
    WaitDone(session);
    QCOMPARE(session->GetProblem(), TWebSessionProblem::wspNoBrowserCanFill);
    QVERIFY(FLibrary->Browsers().isEmpty());
    QTRY_COMPARE(desktop.OpenedWith(otherBrowser),
                 QStringList{FServer->Url(QStringLiteral("/plain")).toString()});
}

QTEST_GUILESS_MAIN(TestFormFillLib)
#include "tst_FormFillLib.moc"
