// Web auto-login: from the login request to the credentials arriving at the
// site, with the browser to be started (cold) and already running (warm).
// Chromium runs headless against a local HTTP server; under an X server,
// LOCKWYN_BENCH_HEADED=1 runs it with its window, as the program does.
//   bench_FormFillLogin [Google Benchmark options]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

#include "FormFillLib.WebAutoLogin.h"
#include "WebTestServer.h"

using namespace Lockwyn;

namespace {

const QString ChromiumLauncher = QStringLiteral("/usr/bin/chromium");
constexpr int GiveUpMs = 60000;

const QByteArray LoginPage = R"html(<!doctype html>
<form action="/submit" method="post">
  <input name="user"><input name="pass" type="password"><button>Log in</button>
</form>)html";

struct TSite
{
    TWebTestServer Server;
    TSite()
    {
        Server.ServePage(QStringLiteral("/login"), LoginPage);
        Server.ServePage(QStringLiteral("/submit"), "<p>Welcome</p>");
    }
};

std::unique_ptr<TWebAutoLogin> NewLibrary(const QString& dataFolder)
{
    const bool headed = qEnvironmentVariableIntValue("LOCKWYN_BENCH_HEADED") == 1;
    auto library = std::make_unique<TWebAutoLogin>(TWebAutoLoginOptions{dataFolder, !headed});
    library->SetUseDefaultBrowser(false);
    library->SetBrowserPath(ChromiumLauncher);
    return library;
}

// Seconds from the request until the site has the submitted form; negative
// when it never arrived.
double LoginSeconds(TWebAutoLogin& library, TSite& site)
{
    QEventLoop loop;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto connection = QObject::connect(&site.Server, &TWebTestServer::RequestReceived, &loop,
                                             [&loop](const TWebTestRequest& request) {
                                                 if (request.Path == QLatin1String("/submit"))
                                                     loop.quit();
                                             });
    QElapsedTimer clock;
    clock.start();
    library.StartLoginSession(site.Server.Url(QStringLiteral("/login")).toString(), {},
                              QStringLiteral("bench-user"), QStringLiteral("bench-password"), true,
                              {});
    giveUp.start(GiveUpMs);
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    QObject::disconnect(connection);
    return giveUp.isActive() ? seconds : -1;
}

void ReportTime(benchmark::State& state, double seconds)
{
    if (seconds < 0)
        state.SkipWithError("the credentials never arrived");
    else
        state.SetIterationTime(seconds);
}

void BM_LoginColdBrowser(benchmark::State& state)
{
    TSite site;
    QTemporaryDir data;
    for (auto _ : state) {
        const std::unique_ptr<TWebAutoLogin> library = NewLibrary(data.path());
        ReportTime(state, LoginSeconds(*library, site));
        state.PauseTiming();
        library->ReleaseSessions();
        state.ResumeTiming();
    }
}

void BM_LoginRunningBrowser(benchmark::State& state)
{
    TSite site;
    QTemporaryDir data;
    const std::unique_ptr<TWebAutoLogin> library = NewLibrary(data.path());
    if (LoginSeconds(*library, site) < 0) {
        state.SkipWithError("the browser did not start");
        return;
    }
    for (auto _ : state)
        ReportTime(state, LoginSeconds(*library, site));
    library->ReleaseSessions();
}

} // namespace

BENCHMARK(BM_LoginColdBrowser)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoginRunningBrowser)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
