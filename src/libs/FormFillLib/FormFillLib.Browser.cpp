#include "FormFillLib.Browser.h"

#include "FormFillLib.BrowserProfile.h"

#include <QDir>
#include <QJsonArray>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace Lockwyn {

namespace {

const QString PageType = QStringLiteral("page");
// A cold start on a busy machine can take several seconds.
constexpr int StartTimeoutMs = 30000;

bool RunningAsRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

} // namespace

TBrowser::TBrowser(const TBrowserLaunch& launch)
    : FLaunch(launch), FPrivateFolder(QDir::tempPath() + QStringLiteral("/lw-XXXXXX")),
      FConnection(FProcess)
{
    FStartTimer.setSingleShot(true);
    connect(&FStartTimer, &QTimer::timeout, this, &TBrowser::StartTimedOut);
    FCloseTimer.setSingleShot(true);
    connect(&FCloseTimer, &QTimer::timeout, this, [this] {
        FProcess.Stop(0);
        ProcessEnded();
    });
    connect(&FProcess, &Platform::TBrowserProcess::Ended, this, &TBrowser::ProcessEnded);
    connect(&FConnection, &TDevToolsConnection::EventReceived, this,
            [this](const QString& method, const QJsonObject& params, const QString& sessionId) {
                if (sessionId.isEmpty())
                    TargetEvent(method, params);
            });
}

TBrowser::~TBrowser()
{
    FProcess.Stop(0);
}

bool TBrowser::Start(QString* error)
{
    if (!FPrivateFolder.isValid()) {
        *error = FPrivateFolder.errorString();
        return false;
    }
    // The crash handler leaves the process group; it is known by its
    // database folder, which lies in the private folder.
    FProcess.SetHelperMarker(FPrivateFolder.path());
    if (!FProcess.Start(FLaunch.Program, Arguments(), Environment(), error))
        return false;
    FStartTimer.start(StartTimeoutMs);
    FConnection.Send(QStringLiteral("Browser.getVersion"), {}, {},
                     [this](const QJsonObject&, const QString& failure) {
                         if (failure.isEmpty())
                             Connected();
                     });
    return true;
}

QStringList TBrowser::Arguments() const
{
    QStringList arguments{
        QStringLiteral("--remote-debugging-pipe"),
        QStringLiteral("--user-data-dir=") + QDir::toNativeSeparators(FLaunch.ProfileFolder),
        QStringLiteral("--disk-cache-dir=") +
            QDir::toNativeSeparators(FPrivateFolder.filePath(QStringLiteral("cache"))),
        QStringLiteral("--no-first-run"),
        QStringLiteral("--no-default-browser-check"),
        QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-sync"),
        QStringLiteral("--disable-default-apps"),
        QStringLiteral("--password-store=basic"),
        QStringLiteral("--use-mock-keychain")};
    if (RunningAsRoot())
        arguments << QStringLiteral("--no-sandbox");
    if (FLaunch.Headless)
        arguments << QStringLiteral("--headless=new");
    // Nothing after "--" is read as a switch.
    arguments << QStringLiteral("--")
              << (FLaunch.StartUrl.isEmpty() ? QStringLiteral("about:blank")
                                             : FLaunch.StartUrl.toString(QUrl::FullyEncoded));
    return arguments;
}

// Everything the browser writes outside its profile goes to the private
// folder.
QProcessEnvironment TBrowser::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString folder = QDir::toNativeSeparators(FPrivateFolder.path());
    for (const char* variable : {"TMPDIR", "TMP", "TEMP", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        environment.insert(QLatin1String(variable), folder);
    return environment;
}

void TBrowser::Connected()
{
    FConnection.Send(QStringLiteral("Target.setDiscoverTargets"),
                     {{QStringLiteral("discover"), true}}, {});
    FConnection.Send(QStringLiteral("Target.getTargets"), {}, {},
                     [this](const QJsonObject& result, const QString& failure) {
                         if (!failure.isEmpty())
                             return;
                         for (const QJsonValue& value :
                              result.value(QStringLiteral("targetInfos")).toArray()) {
                             const QJsonObject target = value.toObject();
                             if (target.value(QStringLiteral("type")).toString() != PageType)
                                 continue;
                             const QString id = target.value(QStringLiteral("targetId")).toString();
                             FPages.insert(id);
                             if (FStartPage.isEmpty())
                                 FStartPage = id;
                         }
                         FStartTimer.stop();
                         FReady = true;
                         Q_EMIT Ready();
                     });
}

QString TBrowser::TakeStartPage()
{
    return FPages.contains(FStartPage) ? std::exchange(FStartPage, {}) : QString();
}

bool TBrowser::HasUserPages() const
{
    return FPages.size() > (FPages.contains(FStartPage) ? 1 : 0);
}

void TBrowser::StartTimedOut()
{
    Q_EMIT Failed(QStringLiteral("the browser did not start in time"));
    FClosing = true;
    FProcess.Stop(0);
    ProcessEnded();
}

void TBrowser::TargetEvent(const QString& method, const QJsonObject& params)
{
    const QJsonObject info = params.value(QStringLiteral("targetInfo")).toObject();
    if (method == QLatin1String("Target.targetCreated") &&
        info.value(QStringLiteral("type")).toString() == PageType) {
        FPages.insert(info.value(QStringLiteral("targetId")).toString());
    } else if (method == QLatin1String("Target.targetDestroyed")) {
        if (FPages.remove(params.value(QStringLiteral("targetId")).toString()) && FPages.isEmpty())
            Q_EMIT PagesClosed();
    }
}

void TBrowser::Close(int graceMs, bool wait)
{
    if (FEnded)
        return;
    if (!FClosing) {
        FClosing = true;
        FConnection.Send(QStringLiteral("Browser.close"), {}, {});
    }
    if (wait) {
        FCloseTimer.stop();
        FProcess.Stop(graceMs);
        ProcessEnded();
    } else if (!FCloseTimer.isActive()) {
        FCloseTimer.start(graceMs);
    }
}

void TBrowser::ProcessEnded()
{
    if (FEnded)
        return;
    FEnded = true;
    FReady = false;
    FStartTimer.stop();
    FCloseTimer.stop();
    FConnection.Fail(QStringLiteral("the browser has ended"));
    ForgetBrowserSessions(FLaunch.ProfileFolder);
    if (!FClosing)
        Q_EMIT Failed(QStringLiteral("the browser has ended"));
    Q_EMIT Ended();
}

} // namespace Lockwyn
