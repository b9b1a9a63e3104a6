#include "FormFillLib.Session.h"

#include <QJsonArray>

#include "FormFillLib.Browser.h"
#include "WebCommon.Site.h"

namespace Lockwyn {

namespace {

constexpr int NavigationTimeoutMs = 30000;
// How long a login form may take to appear after the page has loaded.
constexpr int FormWaitMs = 6000;
constexpr int RetryIntervalMs = 100;
// A password field may appear a little after its user name field; only after
// this long is a user name field alone taken for the first step of a
// two-step login.
constexpr int UserNameOnlyGraceMs = 1500;
// How long a submitted form may take to load its answer before the redirect
// address is opened all the same.
constexpr int AfterSubmitWaitMs = 10000;
const QString WorldName = QStringLiteral("Lockwyn");

constexpr double LaunchedProgress = 0.3;
constexpr double AttachedProgress = 0.4;
constexpr double NavigatedProgress = 0.5;
constexpr double LoadedProgress = 0.7;
constexpr double FoundProgress = 0.9;

} // namespace

TWebSession::TWebSession(TWebSessionKind kind, TWebSessionRequest request)
    : FKind(kind), FRequest(std::move(request)), FSite(Web::SiteOf(FRequest.Url.host()))
{
    FDeadline.setSingleShot(true);
    connect(&FDeadline, &QTimer::timeout, this, [this] {
        if (FDeadlineAction)
            FDeadlineAction();
    });
    FRetry.setSingleShot(true);
    FRetry.setInterval(RetryIntervalMs);
    connect(&FRetry, &QTimer::timeout, this, &TWebSession::LookForForm);
}

std::shared_ptr<IWebFormAnalyzerResult> TWebSession::GetAnalyzerResult()
{
    return FAnalyzerResult;
}

TBrowser* TWebSession::Browser() const
{
    return FBrowser;
}

void TWebSession::Run(TBrowser& browser)
{
    if (!IsRunning())
        return;
    FBrowser = &browser;
    ReportProgress(LaunchedProgress);
    connect(&browser.Connection(), &TDevToolsConnection::EventReceived, this, &TWebSession::Event);
    connect(&browser, &TBrowser::Failed, this, [this](const QString& reason) {
        Finish(TWebSessionProblem::wspBrowserFailed, reason);
    });
    // The page the browser started with is this session's when it started
    // for it; otherwise it is sent to the address.
    const QString startPage = browser.TakeStartPage();
    if (!startPage.isEmpty()) {
        PageCreated(startPage, browser.Launch().StartUrl == FRequest.Url);
        return;
    }
    // A new page opens on the address at once; it is closed again when the
    // session was cancelled meanwhile.
    browser.Connection().Send(
        QStringLiteral("Target.createTarget"),
        {{QStringLiteral("url"), FRequest.Url.toString(QUrl::FullyEncoded)}}, {},
        [this, guard = QPointer(this), browser = QPointer(&browser)](const QJsonObject& result,
                                                                     const QString& error) {
            const QString targetId = result.value(QStringLiteral("targetId")).toString();
            if (guard && IsRunning()) {
                if (error.isEmpty())
                    PageCreated(targetId, true);
                else
                    Finish(TWebSessionProblem::wspBrowserFailed, error);
            } else if (browser && !targetId.isEmpty()) {
                browser->Connection().Send(QStringLiteral("Target.closeTarget"),
                                           {{QStringLiteral("targetId"), targetId}}, {});
            }
        });
}

void TWebSession::PageCreated(const QString& targetId, bool onAddress)
{
    FTargetId = targetId;
    Command(QStringLiteral("Target.attachToTarget"),
            {{QStringLiteral("targetId"), targetId}, {QStringLiteral("flatten"), true}}, {},
            [this, onAddress](const QJsonObject& result) {
                PageAttached(result.value(QStringLiteral("sessionId")).toString(), onAddress);
            });
}

// A page already on the address is looked at right away; its events until
// now are not needed, since the form is looked for by asking the page.
void TWebSession::PageAttached(const QString& sessionId, bool onAddress)
{
    FPageSession = sessionId;
    ReportProgress(AttachedProgress);
    // Frames of other processes become targets of their own.
    Command(QStringLiteral("Target.setAutoAttach"),
            {{QStringLiteral("autoAttach"), true},
             {QStringLiteral("waitForDebuggerOnStart"), false},
             {QStringLiteral("flatten"), true}},
            FPageSession);
    Command(QStringLiteral("Page.bringToFront"), {}, FPageSession);
    FDeadlineAction = [this] {
        Finish(TWebSessionProblem::wspPageNotLoaded, QStringLiteral("no answer in time"));
    };
    FDeadline.start(NavigationTimeoutMs);
    if (onAddress) {
        Command(QStringLiteral("Page.enable"), {}, FPageSession);
        LookForForm();
        return;
    }
    // Events of a page that moves to another process are lost unless the
    // domain is enabled before the navigation starts.
    Command(QStringLiteral("Page.enable"), {}, FPageSession, [this](const QJsonObject&) {
        Navigate(FRequest.Url, [this] {
            ReportProgress(NavigatedProgress);
            LookForForm();
        });
    });
}

void TWebSession::Navigate(const QUrl& url, const std::function<void()>& committed)
{
    Command(QStringLiteral("Page.navigate"),
            {{QStringLiteral("url"), url.toString(QUrl::FullyEncoded)}}, FPageSession,
            [this, committed](const QJsonObject& result) {
                const QString error = result.value(QStringLiteral("errorText")).toString();
                if (error.isEmpty())
                    committed();
                else
                    Finish(TWebSessionProblem::wspPageNotLoaded, error);
            });
}

void TWebSession::Event(const QString& method, const QJsonObject& params, const QString& sessionId)
{
    if (!IsRunning())
        return;
    if (method == QLatin1String("Target.targetDestroyed")) {
        if (params.value(QStringLiteral("targetId")).toString() == FTargetId)
            Finish(TWebSessionProblem::wspBrowserFailed, QStringLiteral("the page was closed"));
        return;
    }
    if (sessionId.isEmpty() || (sessionId != FPageSession && !FFrameSessions.contains(sessionId)))
        return;
    if (method == QLatin1String("Target.attachedToTarget")) {
        const QString frameSession = params.value(QStringLiteral("sessionId")).toString();
        FFrameSessions.insert(frameSession);
        Command(QStringLiteral("Page.enable"), {}, frameSession, {}, [](const QString&) {});
    } else if (method == QLatin1String("Target.detachedFromTarget")) {
        FFrameSessions.remove(params.value(QStringLiteral("sessionId")).toString());
    } else if (method == QLatin1String("Inspector.targetCrashed")) {
        Finish(TWebSessionProblem::wspBrowserFailed, QStringLiteral("the page crashed"));
    } else if (method == QLatin1String("Page.frameNavigated")) {
        const QJsonObject frame = params.value(QStringLiteral("frame")).toObject();
        FWorlds.remove(sessionId + u'/' + frame.value(QStringLiteral("id")).toString());
        if (FSubmitted && sessionId == FPageSession && !frame.contains(QStringLiteral("parentId")))
            FSubmitNavigated = true;
    } else if (method == QLatin1String("Page.domContentEventFired") && sessionId == FPageSession &&
               FRetry.isActive()) {
        FRetry.stop();
        LookForForm();
    } else if (method == QLatin1String("Page.loadEventFired") && sessionId == FPageSession &&
               FSubmitNavigated) {
        Redirect();
    }
}

// The page's frames, its main frame first; frames of other processes follow
// those of the page's own.
void TWebSession::CollectFrames(const std::function<void(QList<TFrame>)>& done)
{
    const QStringList sessions = QStringList{FPageSession} + FFrameSessions.values();
    auto collected = std::make_shared<QList<QList<TFrame>>>(sessions.size());
    auto waiting = std::make_shared<qsizetype>(sessions.size());
    for (qsizetype i = 0; i < sessions.size(); ++i) {
        const QString sessionId = sessions[i];
        const auto collect = [collected, waiting, done, i, sessionId](const QJsonObject& tree) {
            std::function<void(const QJsonObject&)> walk = [&](const QJsonObject& node) {
                const QJsonObject frame = node.value(QStringLiteral("frame")).toObject();
                // A frame of about:blank or srcdoc has its parent's origin.
                const QUrl origin(frame.value(QStringLiteral("securityOrigin")).toString());
                const QUrl url(frame.value(QStringLiteral("url")).toString());
                (*collected)[i] << TFrame{sessionId, frame.value(QStringLiteral("id")).toString(),
                                          Web::IsWebAddress(origin) ? origin : url,
                                          frame.value(QStringLiteral("unreachableUrl")).toString()};
                for (const QJsonValue& child : node.value(QStringLiteral("childFrames")).toArray())
                    walk(child.toObject());
            };
            walk(tree.value(QStringLiteral("frameTree")).toObject());
            if (--*waiting == 0) {
                QList<TFrame> frames;
                for (const QList<TFrame>& part : std::as_const(*collected))
                    frames << part;
                done(frames);
            }
        };
        Command(QStringLiteral("Page.getFrameTree"), {}, sessionId, collect,
                [collect](const QString&) { collect({}); });
    }
}

void TWebSession::LookForForm()
{
    if (!IsRunning())
        return;
    CollectFrames([this](const QList<TFrame>& frames) {
        if (!frames.isEmpty() && !frames.first().UnreachableUrl.isEmpty()) {
            Finish(TWebSessionProblem::wspPageNotLoaded, frames.first().UnreachableUrl);
            return;
        }
        if (!frames.isEmpty() && Web::IsWebAddress(frames.first().Url) &&
            !IsOnRequestedSite(frames.first().Url)) {
            Finish(TWebSessionProblem::wspOtherSite, frames.first().Url.host());
            return;
        }
        QList<TFrame> ours;
        for (const TFrame& frame : frames)
            if (!frame.Id.isEmpty() && IsOnRequestedSite(frame.Url))
                ours << frame;
        TryFrames(ours, {});
    });
}

// A round over the frames. The time a form may take to appear counts from
// the first round in which no frame was still loading.
void TWebSession::TryFrames(QList<TFrame> frames, TRound round)
{
    if (!IsRunning())
        return;
    if (frames.isEmpty()) {
        if (round.Loading || round.Frames == 0) {
            FSinceLoaded.invalidate();
            FRetry.start();
            return;
        }
        if (!FSinceLoaded.isValid()) {
            FDeadline.stop();
            ReportProgress(LoadedProgress);
            FSinceLoaded.start();
        }
        if (round.UserNameOnly && !FAllowUserNameOnly &&
            FSinceLoaded.elapsed() >= UserNameOnlyGraceMs) {
            FAllowUserNameOnly = true;
            LookForForm();
        } else if (FSinceLoaded.elapsed() >= FormWaitMs) {
            Finish(TWebSessionProblem::wspNoLoginForm);
        } else {
            FRetry.start();
        }
        return;
    }
    const TFrame frame = frames.takeFirst();
    ++round.Frames;
    RunPageScript(frame, [this, frames, round](const TPageScriptAnswer& answer) mutable {
        switch (answer.Status) {
        case TPageScriptStatus::pssFilled:
            FormFound(answer);
            return;
        case TPageScriptStatus::pssLoading:
            round.Loading = true;
            break;
        case TPageScriptStatus::pssUserNameOnly:
            round.UserNameOnly = true;
            break;
        case TPageScriptStatus::pssNoForm:
        case TPageScriptStatus::pssOtherSite:
            break;
        }
        TryFrames(frames, round);
    });
}

void TWebSession::RunPageScript(const TFrame& frame,
                                const std::function<void(TPageScriptAnswer)>& done)
{
    const QString worldKey = frame.SessionId + u'/' + frame.Id;
    const auto call = [this, frame, worldKey, done](int contextId) {
        TPageScriptOptions options;
        options.Fill = FKind == TWebSessionKind::wskLogin;
        options.Submit = FRequest.Submit;
        options.Site = FSite;
        options.HttpsOnly = FRequest.Url.scheme() == QLatin1String("https");
        options.Fields = FRequest.Fields;
        options.AllowUserNameOnly = FAllowUserNameOnly;
        const QJsonObject params{
            {QStringLiteral("functionDeclaration"), PageScriptFunction()},
            {QStringLiteral("executionContextId"), contextId},
            {QStringLiteral("arguments"),
             QJsonArray{QJsonObject{{QStringLiteral("value"), options.ToJson()}}}},
            {QStringLiteral("returnByValue"), true}};
        const QStringList credentials = options.Fill
                                            ? QStringList{FRequest.UserName, FRequest.Password}
                                            : QStringList{QString(), QString()};
        FBrowser->Connection().SendCall(
            params, credentials, frame.SessionId,
            [this, guard = QPointer(this), worldKey, done](const QJsonObject& result,
                                                           const QString& error) {
                if (!guard || !IsRunning())
                    return;
                if (!error.isEmpty() || result.contains(QStringLiteral("exceptionDetails"))) {
                    FWorlds.remove(worldKey);
                    done({});
                    return;
                }
                done(TPageScriptAnswer::FromJson(result.value(QStringLiteral("result"))
                                                     .toObject()
                                                     .value(QStringLiteral("value"))
                                                     .toObject()));
            });
    };
    if (FWorlds.contains(worldKey)) {
        call(FWorlds.value(worldKey));
        return;
    }
    Command(
        QStringLiteral("Page.createIsolatedWorld"),
        {{QStringLiteral("frameId"), frame.Id}, {QStringLiteral("worldName"), WorldName}},
        frame.SessionId,
        [this, worldKey, call](const QJsonObject& result) {
            const int contextId = result.value(QStringLiteral("executionContextId")).toInt();
            FWorlds.insert(worldKey, contextId);
            call(contextId);
        },
        [done](const QString&) { done({}); });
}

void TWebSession::FormFound(const TPageScriptAnswer& answer)
{
    ReportProgress(FoundProgress);
    if (FKind == TWebSessionKind::wskAnalyze) {
        FAnalyzerResult = std::make_shared<TWebFormAnalyzerResult>(answer.Fields);
        Finish(TWebSessionProblem::wspNone);
        return;
    }
    DropCredentials();
    if (FRequest.Submit && answer.SubmitWithEnter)
        PressEnter(FPageSession);
    if (!FRequest.Submit || FRequest.RedirectUrl.isEmpty()) {
        Finish(TWebSessionProblem::wspNone);
        return;
    }
    AwaitSubmitAndRedirect();
}

// Trusted typing, for pages whose login fields are not in a form.
void TWebSession::PressEnter(const QString& sessionId)
{
    for (const char* type : {"keyDown", "keyUp"}) {
        QJsonObject key{{QStringLiteral("type"), QLatin1String(type)},
                        {QStringLiteral("key"), QStringLiteral("Enter")},
                        {QStringLiteral("code"), QStringLiteral("Enter")},
                        {QStringLiteral("windowsVirtualKeyCode"), 13}};
        if (QLatin1String(type) == QLatin1String("keyDown"))
            key.insert(QStringLiteral("text"), QStringLiteral("\r"));
        Command(QStringLiteral("Input.dispatchKeyEvent"), key, sessionId);
    }
}

void TWebSession::AwaitSubmitAndRedirect()
{
    FSubmitted = true;
    FDeadlineAction = [this] {
        Redirect();
    };
    FDeadline.start(AfterSubmitWaitMs);
}

void TWebSession::Redirect()
{
    FDeadline.stop();
    FSubmitted = FSubmitNavigated = false;
    Navigate(FRequest.RedirectUrl, [this] { Finish(TWebSessionProblem::wspNone); });
}

void TWebSession::Finish(TWebSessionProblem problem, const QString& detail)
{
    if (!IsRunning())
        return;
    FState = TWebSessionState::wssDone;
    FProblem = problem;
    FProblemDetail = detail;
    DropCredentials();
    FDeadline.stop();
    FRetry.stop();
    if (problem == TWebSessionProblem::wspNone)
        ReportProgress(1);
    Q_EMIT Finished();
}

void TWebSession::Cancel()
{
    if (!IsRunning())
        return;
    FState = TWebSessionState::wssCancelled;
    DropCredentials();
    FDeadline.stop();
    FRetry.stop();
    if (FBrowser && !FTargetId.isEmpty())
        FBrowser->Connection().Send(QStringLiteral("Target.closeTarget"),
                                    {{QStringLiteral("targetId"), FTargetId}}, {});
}

void TWebSession::Command(const QString& method, const QJsonObject& params,
                          const QString& sessionId, const TResult& onResult, const TError& onError)
{
    if (!FBrowser)
        return;
    FBrowser->Connection().Send(method, params, sessionId,
                                [this, guard = QPointer(this), onResult,
                                 onError](const QJsonObject& result, const QString& error) {
                                    if (!guard || !IsRunning())
                                        return;
                                    if (error.isEmpty()) {
                                        if (onResult)
                                            onResult(result);
                                    } else if (onError) {
                                        onError(error);
                                    } else {
                                        Finish(TWebSessionProblem::wspBrowserFailed, error);
                                    }
                                });
}

void TWebSession::ReportProgress(double value)
{
    if (value <= FProgress)
        return;
    FProgress = value;
    Q_EMIT Progress(value);
}

void TWebSession::DropCredentials()
{
    FRequest.UserName.clear();
    FRequest.Password.clear();
}

bool TWebSession::IsOnRequestedSite(const QUrl& url) const
{
    if (!Web::IsWebAddress(url) || Web::SiteOf(url.host()) != FSite)
        return false;
    return FRequest.Url.scheme() != QLatin1String("https") ||
           url.scheme() == QLatin1String("https");
}

} // namespace Lockwyn
