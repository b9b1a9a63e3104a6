#include "UrlRegistryLib.WebSitesDB.h"

#include <QNetworkAccessManager>

namespace Lockwyn {

TWebSitesDB::TWebSitesDB(const QString& shippedFileName) : FShippedFileName(shippedFileName)
{
    FWorkers.setMaxThreadCount(1);
}

TWebSitesDB::~TWebSitesDB()
{
    FWorkers.waitForDone();
    delete FUpdate;
}

void TWebSitesDB::SetLocalFileName(const QString& fileName)
{
    FLocalFileName = fileName;
    FWebSites.reset();
}

void TWebSitesDB::SetDownloadURL(const QString& url)
{
    FDownloadURL = QUrl(url);
}

void TWebSitesDB::SetHashURL(const QString& url)
{
    FHashURL = QUrl(url);
}

void TWebSitesDB::Update()
{
    if (FUpdate || FLocalFileName.isEmpty() || !FDownloadURL.isValid() || !FHashURL.isValid())
        return;
    if (!FNetwork)
        FNetwork = new QNetworkAccessManager(this);
    FUpdate = new TWebSitesUpdate(*FNetwork, FWorkers, FDownloadURL, FHashURL, FLocalFileName,
                                  [this](TWebSitesUpdateResult result) { UpdateFinished(result); });
    FUpdate->Start();
}

// The newer of the local and the shipped catalogue.
std::shared_ptr<IWebSitesList> TWebSitesDB::GetWebSites()
{
    if (!FWebSites) {
        const std::optional<TWebSiteCatalogue> local = ReadWebSiteCatalogue(FLocalFileName);
        const std::optional<TWebSiteCatalogue> shipped = ReadWebSiteCatalogue(FShippedFileName);
        if (local && (!shipped || local->Revision >= shipped->Revision))
            FWebSites = std::make_shared<TWebSitesList>(*local);
        else if (shipped)
            FWebSites = std::make_shared<TWebSitesList>(*shipped);
        else
            FWebSites = std::make_shared<TWebSitesList>();
    }
    return FWebSites;
}

void TWebSitesDB::SetOnUpdateFinished(const std::function<void(TWebSitesUpdateResult)>& handler)
{
    FOnUpdateFinished = handler;
}

void TWebSitesDB::UpdateFinished(TWebSitesUpdateResult result)
{
    // Called from inside the update, which therefore goes later.
    FUpdate->deleteLater();
    FUpdate = nullptr;
    if (result == TWebSitesUpdateResult::wsurReplaced)
        FWebSites.reset();
    if (FOnUpdateFinished)
        FOnUpdateFinished(result);
}

} // namespace Lockwyn
