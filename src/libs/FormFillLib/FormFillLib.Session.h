#pragma once
// One login or analysis: its own page (tab) of the browser is opened on the
// address, the page's site is checked, and the login form is looked for in
// the page's frames of that site until it appears or a few seconds have
// passed; then it is filled (and submitted, then the redirect address
// opened), or its fields are reported.

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

#include "FormFillLib.Interfaces.h"
#include "FormFillLib.PageScript.h"

namespace Lockwyn {

class TBrowser;

enum class TWebSessionKind
{
    wskLogin,
    wskAnalyze,
};

struct TWebSessionRequest
{
    QUrl Url;
    QUrl RedirectUrl;
    QString UserName;
    QString Password;
    bool Submit = false;
    TWebFormLoginFieldsInfo Fields;
};

class TWebFormAnalyzerResult final : public IWebFormAnalyzerResult
{
public:
    explicit TWebFormAnalyzerResult(const TWebFormLoginFieldsInfo& fields) : FFields(fields) {}
    TWebFormLoginFieldsInfo GetLoginFieldsInfo() override { return FFields; }

private:
    TWebFormLoginFieldsInfo FFields;
};

class TWebSession final : public QObject,
                          public IWebAutoLoginSession,
                          public std::enable_shared_from_this<TWebSession>
{
    Q_OBJECT
public:
    TWebSession(TWebSessionKind kind, TWebSessionRequest request);

    std::shared_ptr<IWebFormAnalyzerResult> GetAnalyzerResult() override;
    TWebSessionState GetState() override { return FState; }
    TWebSessionProblem GetProblem() override { return FProblem; }
    QString GetProblemDetail() override { return FProblemDetail; }

    TWebSessionKind Kind() const { return FKind; }
    const QUrl& Url() const { return FRequest.Url; }
    bool IsRunning() const { return FState == TWebSessionState::wssRunning; }
    // The browser the session runs in; null before Run.
    TBrowser* Browser() const;

    // Does the session's work in its own page of the browser.
    void Run(TBrowser& browser);
    // Ends the session; the work is done when problem is none.
    void Finish(TWebSessionProblem problem, const QString& detail = {});
    // Ends the session and closes its page.
    void Cancel();
    // Progress only grows.
    void ReportProgress(double value);

Q_SIGNALS:
    void Progress(double value);
    // Not after Cancel.
    void Finished();

private:
    struct TFrame
    {
        QString SessionId; // the DevTools session of the target that holds it
        QString Id;
        QUrl Url;
        // The address an error page stands for.
        QString UnreachableUrl;
    };
    // What a round over the frames found besides a form.
    struct TRound
    {
        int Frames = 0;
        bool Loading = false;
        bool UserNameOnly = false;
    };
    using TResult = std::function<void(const QJsonObject& result)>;

    using TError = std::function<void(const QString& error)>;

    // The result comes only while the session runs; without onError a
    // failed command fails the session.
    void Command(const QString& method, const QJsonObject& params, const QString& sessionId,
                 const TResult& onResult = {}, const TError& onError = {});
    // onAddress: the page is on (or on its way to) the session's address.
    void PageCreated(const QString& targetId, bool onAddress);
    void PageAttached(const QString& sessionId, bool onAddress);
    void Navigate(const QUrl& url, const std::function<void()>& committed);
    void Event(const QString& method, const QJsonObject& params, const QString& sessionId);
    void LookForForm();
    void CollectFrames(const std::function<void(QList<TFrame>)>& done);
    void TryFrames(QList<TFrame> frames, TRound round);
    void RunPageScript(const TFrame& frame, const std::function<void(TPageScriptAnswer)>& done);
    void FormFound(const TPageScriptAnswer& answer);
    void PressEnter(const QString& sessionId);
    void AwaitSubmitAndRedirect();
    void Redirect();
    void DropCredentials();
    bool IsOnRequestedSite(const QUrl& url) const;

    TWebSessionKind FKind;
    TWebSessionRequest FRequest;
    QString FSite;
    TWebSessionState FState = TWebSessionState::wssRunning;
    TWebSessionProblem FProblem = TWebSessionProblem::wspNone;
    QString FProblemDetail;
    std::shared_ptr<IWebFormAnalyzerResult> FAnalyzerResult;
    double FProgress = 0;

    QPointer<TBrowser> FBrowser;
    QString FTargetId;
    QString FPageSession;
    QSet<QString> FFrameSessions; // of the page's frames in other processes
    QHash<QString, int> FWorlds;  // isolated world by DevTools session and frame ID
    bool FAllowUserNameOnly = false;
    bool FSubmitted = false;
    bool FSubmitNavigated = false;
    QElapsedTimer FSinceLoaded;
    QTimer FDeadline;
    std::function<void()> FDeadlineAction;
    QTimer FRetry;
};

} // namespace Lockwyn
