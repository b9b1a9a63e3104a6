#pragma once
// One running browser of the Chromium family, started with its DevTools pipe
// on a profile of its own. Its temporary, cache and crash folders lie in a
// private folder that goes with it. It keeps track of its pages (tabs).

#include <QObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <memory>

#include "FormFillLib.DevToolsConnection.h"
#include "Platform.BrowserProcess.h"

namespace Lockwyn {

struct TBrowserLaunch
{
    QString Program;
    QString ProfileFolder;
    bool Headless = false;
    // The page it opens with, so that a cold start loads it at once.
    QUrl StartUrl;
};

class TBrowser final : public QObject
{
    Q_OBJECT
public:
    explicit TBrowser(const TBrowserLaunch& launch);
    // Ends the browser and its processes by force if Close did not.
    ~TBrowser() override;

    // Starts the browser; Ready or Failed follows. False at once, with the
    // reason, when it could not be started.
    bool Start(QString* error);
    bool IsReady() const { return FReady; }
    bool IsClosing() const { return FClosing; }
    TDevToolsConnection& Connection() { return FConnection; }
    const TBrowserLaunch& Launch() const { return FLaunch; }
    qint64 ProcessId() const { return FProcess.ProcessId(); }
    QString PrivateFolder() const { return FPrivateFolder.path(); }

    // The page the browser opened with, once; empty afterwards or when the
    // user closed it.
    QString TakeStartPage();
    // Pages other than the start page while nobody took it.
    bool HasUserPages() const;

    // Asks the browser to close; it is ended by force when it has not ended
    // within graceMs. Waits for that when wait is set.
    void Close(int graceMs, bool wait);

Q_SIGNALS:
    void Ready();
    // It did not start, or ended (closed by the user, or crashed) while not
    // being closed.
    void Failed(const QString& reason);
    // Ended after Close, or after Failed.
    void Ended();
    // The last page was closed.
    void PagesClosed();

private:
    QStringList Arguments() const;
    QProcessEnvironment Environment() const;
    void Connected();
    void TargetEvent(const QString& method, const QJsonObject& params);
    void ProcessEnded();
    void StartTimedOut();

    TBrowserLaunch FLaunch;
    QTemporaryDir FPrivateFolder;
    Platform::TBrowserProcess FProcess;
    TDevToolsConnection FConnection;
    QSet<QString> FPages;
    QString FStartPage;
    QTimer FStartTimer;
    QTimer FCloseTimer;
    bool FReady = false;
    bool FClosing = false;
    bool FEnded = false;
};

} // namespace Lockwyn
