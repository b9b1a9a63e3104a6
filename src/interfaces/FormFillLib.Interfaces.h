#pragma once
// Root interface of FormFillLib: web auto-login in a real browser. The
// library opens a page in the chosen browser, fills a login form there and
// submits it, or finds the login form of a page. It drives the browsers of
// the Chromium family (Chromium, Google Chrome, Microsoft Edge, Brave,
// Vivaldi) through their DevTools pipe; other browsers get the page only.
//
// Everything runs on the thread that uses the library, without blocking it;
// the events are called there too.

#include <QString>

#include <functional>
#include <memory>

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

class IWebFormAnalyzerResult
{
public:
    virtual ~IWebFormAnalyzerResult() = default;
    virtual TWebFormLoginFieldsInfo GetLoginFieldsInfo() = 0;
};

enum class TWebSessionState
{
    wssRunning,
    wssDone,      // the page was opened and the work done, or tried and reported
    wssCancelled, // by CancelSession or ReleaseSessions
};

// What kept a finished session from doing all its work; the program words
// it for the user.
enum class TWebSessionProblem
{
    wspNone,
    // Not an http or https address: nothing was opened.
    wspNotWebAddress,
    // The chosen browser cannot be driven; the page was opened in it without
    // filling. Detail: the browser's program file.
    wspBrowserCannotFill,
    // No browser that can be driven is installed; the page was opened without
    // filling. Detail: empty.
    wspNoBrowserCanFill,
    // The browser did not start or went away. Detail: the reason.
    wspBrowserFailed,
    // The page did not load. Detail: the browser's reason.
    wspPageNotLoaded,
    // The page ended up on another site than the address given, so nothing
    // was filled. Detail: the other site's host.
    wspOtherSite,
    // No login form appeared on the page. Detail: empty.
    wspNoLoginForm,
};

class IWebAutoLoginSession
{
public:
    virtual ~IWebAutoLoginSession() = default;
    // The login form an analysis found; nil before it is done or when the
    // page has none.
    virtual std::shared_ptr<IWebFormAnalyzerResult> GetAnalyzerResult() = 0;
    virtual TWebSessionState GetState() = 0;
    virtual TWebSessionProblem GetProblem() = 0;
    virtual QString GetProblemDetail() = 0;
};

class IWebAutoLogin;
using TWebSessionProgressEvent = std::function<void(
    IWebAutoLogin* sender, const std::shared_ptr<IWebAutoLoginSession>& session, double progress)>;
using TWebSessionEvent = std::function<void(IWebAutoLogin* sender,
                                            const std::shared_ptr<IWebAutoLoginSession>& session)>;

class IWebAutoLogin
{
public:
    virtual ~IWebAutoLogin() = default;
    // With the default browser set, the system's default browser is used;
    // otherwise the browser of the path, or the default one when no file is
    // there.
    virtual void SetUseDefaultBrowser(bool value) = 0;
    virtual void SetBrowserPath(const QString& path) = 0;
    // Progress from 0 to 1 of any session; an empty function clears it.
    virtual void SetOnSessionProgress(const TWebSessionProgressEvent& handler) = 0;
    // A session finished (not when it was cancelled).
    virtual void SetOnSessionComplete(const TWebSessionEvent& handler) = 0;
    // A session finished with a problem the user should be told about. A
    // browser that cannot fill, or no browser that can, is reported once per
    // run.
    virtual void SetOnSessionNotice(const TWebSessionEvent& handler) = 0;
    // Opens the page and finds its login form.
    virtual std::shared_ptr<IWebAutoLoginSession> StartAnalyzeSession(const QString& url) = 0;
    // Opens url and fills the user name and password into its login form:
    // the fields named in fields, else the first visible password field and
    // the user name field before it. Only on a page of the same site as url,
    // in its frames of that site. With submit set the form is then submitted,
    // and after that the redirect address opened when it is not empty. The
    // credentials go to the page as arguments of a call, never in any text
    // that is run, written or shown, and are dropped once filled.
    virtual std::shared_ptr<IWebAutoLoginSession>
    StartLoginSession(const QString& url, const QString& redirectUrl, const QString& userName,
                      const QString& password, bool submit,
                      const TWebFormLoginFieldsInfo& fields) = 0;
    // Stops the session and closes its page; the browser ends when no page is
    // left in it.
    virtual void CancelSession(const std::shared_ptr<IWebAutoLoginSession>& session) = 0;
    // Cancels every session and ends the browser with every process it
    // started; for the end of the program. Returns when they are gone.
    virtual void ReleaseSessions() = 0;
};

} // namespace Lockwyn
