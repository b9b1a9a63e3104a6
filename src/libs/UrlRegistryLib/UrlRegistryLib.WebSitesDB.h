#pragma once
// The library's root object: the catalogue in use and its update.

#include <QObject>
#include <QThreadPool>
#include <QUrl>

#include <functional>

#include "UrlRegistryLib.Update.h"
#include "UrlRegistryLib.WebSitesList.h"

class QNetworkAccessManager;

namespace Lockwyn {

class TWebSitesDB final : public QObject, public IWebSitesDB
{
    Q_OBJECT
public:
    // The catalogue that comes with the program.
    explicit TWebSitesDB(const QString& shippedFileName);
    // Ends a running update first: its download is dropped, its file work
    // finished.
    ~TWebSitesDB() override;

    void SetLocalFileName(const QString& fileName) override;
    void SetDownloadURL(const QString& url) override;
    void SetHashURL(const QString& url) override;
    void Update() override;
    std::shared_ptr<IWebSitesList> GetWebSites() override;

    // Told the result of each update, after the catalogue in use is renewed.
    void SetOnUpdateFinished(const std::function<void(TWebSitesUpdateResult)>& handler);

private:
    void UpdateFinished(TWebSitesUpdateResult result);

    QString FShippedFileName;
    QString FLocalFileName;
    QUrl FDownloadURL;
    QUrl FHashURL;
    std::shared_ptr<TWebSitesList> FWebSites;
    QNetworkAccessManager* FNetwork = nullptr;
    QThreadPool FWorkers;
    TWebSitesUpdate* FUpdate = nullptr;
    std::function<void(TWebSitesUpdateResult)> FOnUpdateFinished;
};

} // namespace Lockwyn
