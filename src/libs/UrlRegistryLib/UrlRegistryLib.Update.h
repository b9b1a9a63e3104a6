#pragma once
// One update of the local catalogue: the expected SHA-256 is downloaded
// first; when the local file already has it nothing else happens, otherwise
// the catalogue is downloaded, checked against the hash, parsed and written
// over the local file atomically. Network work runs on the owner's event
// loop, file work on a worker thread, so the owner's thread never waits.

#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QThreadPool;

namespace Lockwyn {

enum class TWebSitesUpdateResult
{
    wsurReplaced,
    wsurUpToDate,
    wsurDownloadFailed, // an error, a bad HTTP status, a size over the limit or no hash
    wsurHashMismatch,   // the download is not what the hash says
    wsurNotACatalogue,
    wsurWriteFailed,
};

class TWebSitesUpdate final : public QObject
{
    Q_OBJECT
public:
    using TFinished = std::function<void(TWebSitesUpdateResult)>;

    // The network and the workers are the owner's and outlive the update.
    TWebSitesUpdate(QNetworkAccessManager& network, QThreadPool& workers, const QUrl& catalogueUrl,
                    const QUrl& hashUrl, const QString& localFileName, TFinished finished);

    void Start();

private:
    void Download(const QUrl& url, qsizetype maxBytes,
                  const std::function<void(std::optional<QByteArray>)>& done);
    void HashDownloaded(const std::optional<QByteArray>& hashText);
    void CatalogueDownloaded(const std::optional<QByteArray>& catalogue);
    // Runs work on a worker and hands its result back on this object's
    // thread.
    void OnWorker(const std::function<std::optional<TWebSitesUpdateResult>()>& work,
                  const std::function<void()>& whenNothing);
    void Finish(TWebSitesUpdateResult result);

    QNetworkAccessManager& FNetwork;
    QThreadPool& FWorkers;
    QUrl FCatalogueUrl;
    QUrl FHashUrl;
    QString FLocalFileName;
    TFinished FFinished;
    QByteArray FExpectedHash;
};

} // namespace Lockwyn
