#pragma once
// The library's root object: picks the browser for each session, starts it
// when none of its kind runs (a running one takes new sessions as new pages),
// reports the sessions' progress and ends browsers that are no longer used.

#include <QHash>
#include <QObject>

#include <optional>

#include "FormFillLib.ChromiumFamily.h"
#include "FormFillLib.Interfaces.h"
#include "FormFillLib.Session.h"

namespace Lockwyn {

class TBrowser;

struct TWebAutoLoginOptions
{
    // The browser profiles are kept here.
    QString DataFolder;
    // Browsers run without a window (for tests and benchmarks).
    bool Headless = false;
};

class TWebAutoLogin final : public QObject, public IWebAutoLogin
{
    Q_OBJECT
public:
    explicit TWebAutoLogin(const TWebAutoLoginOptions& options);
    // Releases the sessions.
    ~TWebAutoLogin() override;

    void SetUseDefaultBrowser(bool value) override;
    void SetBrowserPath(const QString& path) override;
    void SetOnSessionProgress(const TWebSessionProgressEvent& handler) override;
    void SetOnSessionComplete(const TWebSessionEvent& handler) override;
    void SetOnSessionNotice(const TWebSessionEvent& handler) override;
    std::shared_ptr<IWebAutoLoginSession> StartAnalyzeSession(const QString& url) override;
    std::shared_ptr<IWebAutoLoginSession>
    StartLoginSession(const QString& url, const QString& redirectUrl, const QString& userName,
                      const QString& password, bool submit,
                      const TWebFormLoginFieldsInfo& fields) override;
    void CancelSession(const std::shared_ptr<IWebAutoLoginSession>& session) override;
    void ReleaseSessions() override;

    // The browsers running now.
    QList<const TBrowser*> Browsers() const;

private:
    struct TChosenBrowser
    {
        QString Path; // empty: the system's handler
        std::optional<TChromiumBrowser> Chromium;
    };

    std::shared_ptr<IWebAutoLoginSession> Start(TWebSessionKind kind, TWebSessionRequest request);
    void Launch(const std::shared_ptr<TWebSession>& session);
    TChosenBrowser ChooseBrowser() const;
    void OpenWithoutFilling(TWebSession& session, const TChosenBrowser& chosen);
    // A running browser of the kind, or one started on the address.
    TBrowser* RunningBrowser(const TChromiumBrowser& chromium, const QUrl& startUrl,
                             QString* error);
    void SessionFinished(const std::shared_ptr<TWebSession>& session);
    void Forget(const std::shared_ptr<TWebSession>& session);
    void CloseUnusedBrowsers();
    void BrowserEnded(TBrowser* browser);

    TWebAutoLoginOptions FOptions;
    bool FUseDefaultBrowser = true;
    QString FBrowserPath;
    TWebSessionProgressEvent FOnSessionProgress;
    TWebSessionEvent FOnSessionComplete;
    TWebSessionEvent FOnSessionNotice;
    QList<std::shared_ptr<TWebSession>> FSessions; // running ones
    QHash<QString, TBrowser*> FBrowsers;           // by profile folder
    bool FToldCannotFill = false;
};

} // namespace Lockwyn
