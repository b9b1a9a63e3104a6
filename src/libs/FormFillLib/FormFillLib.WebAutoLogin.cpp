#include "FormFillLib.WebAutoLogin.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>

#include "FormFillLib.Browser.h"
#include "FormFillLib.BrowserProfile.h"
#include "Platform.InstalledBrowsers.h"
#include "WebCommon.Site.h"

namespace Lockwyn {

namespace {

// How long a browser asked to close may take before it is ended by force.
constexpr int CloseGraceMs = 3000;
constexpr double LaunchingProgress = 0.1;

// An address typed without a scheme is taken as https.
QUrl WebAddress(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QUrl url = QUrl::fromUserInput(trimmed);
    if (!trimmed.contains(QLatin1String("://")) && url.scheme() == QLatin1String("http"))
        url.setScheme(QStringLiteral("https"));
    return url;
}

// The installed browsers that can be driven, in a fixed order.
QList<TChromiumBrowser> InstalledChromiumBrowsers()
{
    QList<Platform::TInstalledBrowser> installed = Platform::InstalledBrowsers();
    std::sort(installed.begin(), installed.end(),
              [](const auto& a, const auto& b) { return a.Path < b.Path; });
    QList<TChromiumBrowser> browsers;
    for (const Platform::TInstalledBrowser& browser : std::as_const(installed))
        if (const std::optional<TChromiumBrowser> chromium = ChromiumBrowserOf(browser.Path))
            browsers << *chromium;
    return browsers;
}

} // namespace

TWebAutoLogin::TWebAutoLogin(const TWebAutoLoginOptions& options) : FOptions(options) {}

TWebAutoLogin::~TWebAutoLogin()
{
    ReleaseSessions();
}

void TWebAutoLogin::SetUseDefaultBrowser(bool value)
{
    FUseDefaultBrowser = value;
}

void TWebAutoLogin::SetBrowserPath(const QString& path)
{
    FBrowserPath = path;
}

void TWebAutoLogin::SetOnSessionProgress(const TWebSessionProgressEvent& handler)
{
    FOnSessionProgress = handler;
}

void TWebAutoLogin::SetOnSessionComplete(const TWebSessionEvent& handler)
{
    FOnSessionComplete = handler;
}

void TWebAutoLogin::SetOnSessionNotice(const TWebSessionEvent& handler)
{
    FOnSessionNotice = handler;
}

std::shared_ptr<IWebAutoLoginSession> TWebAutoLogin::StartAnalyzeSession(const QString& url)
{
    TWebSessionRequest request;
    request.Url = WebAddress(url);
    return Start(TWebSessionKind::wskAnalyze, std::move(request));
}

std::shared_ptr<IWebAutoLoginSession>
TWebAutoLogin::StartLoginSession(const QString& url, const QString& redirectUrl,
                                 const QString& userName, const QString& password, bool submit,
                                 const TWebFormLoginFieldsInfo& fields)
{
    TWebSessionRequest request{WebAddress(url), WebAddress(redirectUrl), userName, password, submit,
                               fields};
    if (!Web::IsWebAddress(request.RedirectUrl))
        request.RedirectUrl.clear();
    return Start(TWebSessionKind::wskLogin, std::move(request));
}

// The session starts once the caller has it, so that every event comes after
// the caller knows which session it is about.
std::shared_ptr<IWebAutoLoginSession> TWebAutoLogin::Start(TWebSessionKind kind,
                                                           TWebSessionRequest request)
{
    const auto session = std::make_shared<TWebSession>(kind, std::move(request));
    FSessions << session;
    const std::weak_ptr<TWebSession> weak = session;
    connect(session.get(), &TWebSession::Progress, this, [this, weak](double value) {
        if (const std::shared_ptr<TWebSession> started = weak.lock(); started && FOnSessionProgress)
            FOnSessionProgress(this, started, value);
    });
    connect(session.get(), &TWebSession::Finished, this, [this, weak] {
        if (const std::shared_ptr<TWebSession> finished = weak.lock())
            SessionFinished(finished);
    });
    QMetaObject::invokeMethod(
        this,
        [this, weak] {
            const std::shared_ptr<TWebSession> started = weak.lock();
            if (started && started->IsRunning())
                Launch(started);
        },
        Qt::QueuedConnection);
    return session;
}

void TWebAutoLogin::Launch(const std::shared_ptr<TWebSession>& session)
{
    if (!Web::IsWebAddress(session->Url())) {
        session->Finish(TWebSessionProblem::wspNotWebAddress);
        return;
    }
    const TChosenBrowser chosen = ChooseBrowser();
    if (!chosen.Chromium) {
        OpenWithoutFilling(*session, chosen);
        return;
    }
    QString error;
    TBrowser* browser = RunningBrowser(*chosen.Chromium, session->Url(), &error);
    if (!browser) {
        session->Finish(TWebSessionProblem::wspBrowserFailed, error);
        return;
    }
    const std::weak_ptr<TWebSession> weak = session;
    connect(browser, &TBrowser::Failed, session.get(), [weak](const QString& reason) {
        if (const std::shared_ptr<TWebSession> waiting = weak.lock())
            waiting->Finish(TWebSessionProblem::wspBrowserFailed, reason);
    });
    connect(browser, &TBrowser::Ended, session.get(), [weak] {
        if (const std::shared_ptr<TWebSession> waiting = weak.lock())
            waiting->Finish(TWebSessionProblem::wspBrowserFailed,
                            QStringLiteral("the browser has ended"));
    });
    if (browser->IsReady()) {
        session->Run(*browser);
        return;
    }
    session->ReportProgress(LaunchingProgress);
    connect(browser, &TBrowser::Ready, session.get(), [weak, browser] {
        if (const std::shared_ptr<TWebSession> waiting = weak.lock())
            waiting->Run(*browser);
    });
}

// The browser of the path unless the default one is wanted or the path is
// gone; with no browser named at all, any installed one that can fill.
TWebAutoLogin::TChosenBrowser TWebAutoLogin::ChooseBrowser() const
{
    TChosenBrowser chosen;
    if (!FUseDefaultBrowser && QFileInfo(FBrowserPath).isFile())
        chosen.Path = FBrowserPath;
    if (chosen.Path.isEmpty())
        if (const std::optional<Platform::TInstalledBrowser> system = Platform::DefaultBrowser())
            chosen.Path = system->Path;
    if (!chosen.Path.isEmpty()) {
        chosen.Chromium = ChromiumBrowserOf(chosen.Path);
    } else {
        const QList<TChromiumBrowser> installed = InstalledChromiumBrowsers();
        if (!installed.isEmpty())
            chosen.Chromium = installed.first();
    }
    return chosen;
}

void TWebAutoLogin::OpenWithoutFilling(TWebSession& session, const TChosenBrowser& chosen)
{
    if (!Platform::OpenWebAddress(chosen.Path, session.Url())) {
        session.Finish(TWebSessionProblem::wspBrowserFailed,
                       QStringLiteral("cannot start %1").arg(chosen.Path));
        return;
    }
    if (InstalledChromiumBrowsers().isEmpty())
        session.Finish(TWebSessionProblem::wspNoBrowserCanFill);
    else
        session.Finish(TWebSessionProblem::wspBrowserCannotFill, chosen.Path);
}

// A running browser of the kind takes the session; a browser that uses the
// profile but runs another program, or is closing, must end first, since a
// second browser on a profile in use would hand over to the first.
TBrowser* TWebAutoLogin::RunningBrowser(const TChromiumBrowser& chromium, const QUrl& startUrl,
                                        QString* error)
{
    const QString profile = BrowserProfileFolder(FOptions.DataFolder, chromium.Key);
    if (TBrowser* running = FBrowsers.value(profile)) {
        if (!running->IsClosing() && running->Launch().Program == chromium.Program)
            return running;
        running->Close(CloseGraceMs, true);
    }
    if (!PrepareBrowserProfile(profile, error))
        return nullptr;
    auto* browser = new TBrowser({chromium.Program, profile, FOptions.Headless, startUrl});
    browser->setParent(this);
    if (!browser->Start(error)) {
        delete browser;
        return nullptr;
    }
    connect(browser, &TBrowser::Ended, this, [this, browser] { BrowserEnded(browser); });
    connect(browser, &TBrowser::PagesClosed, this, &TWebAutoLogin::CloseUnusedBrowsers);
    FBrowsers.insert(profile, browser);
    return browser;
}

void TWebAutoLogin::SessionFinished(const std::shared_ptr<TWebSession>& session)
{
    if (FOnSessionComplete)
        FOnSessionComplete(this, session);
    const TWebSessionProblem problem = session->GetProblem();
    const bool toldOnce = session->Kind() == TWebSessionKind::wskLogin &&
                          (problem == TWebSessionProblem::wspBrowserCannotFill ||
                           problem == TWebSessionProblem::wspNoBrowserCanFill);
    if (problem != TWebSessionProblem::wspNone && FOnSessionNotice &&
        !(toldOnce && FToldCannotFill)) {
        FToldCannotFill = FToldCannotFill || toldOnce;
        FOnSessionNotice(this, session);
    }
    Forget(session);
}

// The session may be the sender of the signal being handled; it is let go
// later.
void TWebAutoLogin::Forget(const std::shared_ptr<TWebSession>& session)
{
    FSessions.removeOne(session);
    QTimer::singleShot(0, this, [session] {});
}

void TWebAutoLogin::CancelSession(const std::shared_ptr<IWebAutoLoginSession>& session)
{
    const auto found = std::find_if(FSessions.cbegin(), FSessions.cend(), [&](const auto& running) {
        return running.get() == session.get();
    });
    if (found == FSessions.cend())
        return;
    const std::shared_ptr<TWebSession> cancelled = *found;
    cancelled->Cancel();
    Forget(cancelled);
    CloseUnusedBrowsers();
}

// A browser no session waits for is closed once it shows no page, or only
// the blank page it started with.
void TWebAutoLogin::CloseUnusedBrowsers()
{
    for (TBrowser* browser : FBrowsers) {
        const bool used = std::any_of(FSessions.cbegin(), FSessions.cend(), [&](const auto& s) {
            return s->IsRunning() && (!s->Browser() || s->Browser() == browser);
        });
        if (!used && !browser->IsClosing() && !browser->HasUserPages())
            browser->Close(CloseGraceMs, false);
    }
}

void TWebAutoLogin::BrowserEnded(TBrowser* browser)
{
    FBrowsers.remove(FBrowsers.key(browser));
    browser->deleteLater();
}

void TWebAutoLogin::ReleaseSessions()
{
    for (const std::shared_ptr<TWebSession>& session : std::exchange(FSessions, {}))
        session->Cancel();
    for (TBrowser* browser : std::exchange(FBrowsers, {})) {
        browser->disconnect(this);
        browser->Close(CloseGraceMs, true);
        delete browser;
    }
}

QList<const TBrowser*> TWebAutoLogin::Browsers() const
{
    QList<const TBrowser*> browsers;
    for (const TBrowser* browser : FBrowsers)
        browsers << browser;
    return browsers;
}

} // namespace Lockwyn
