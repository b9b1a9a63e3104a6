#include "UrlRegistryLib.Update.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThreadPool>

#include "UrlRegistryLib.Catalogue.h"

namespace Lockwyn {

namespace {

constexpr qsizetype MaxHashBytes = 1024;
constexpr int TransferTimeoutMs = 30000;
constexpr int HttpOk = 200;

// "<64 hex digits>", optionally followed by a file name as sha256sum writes.
QByteArray ParseHash(const QByteArray& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9a-fA-F]{64})(\\s|$)"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(text));
    return match.hasMatch() ? QByteArray::fromHex(match.captured(1).toLatin1()) : QByteArray();
}

QByteArray Sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QByteArray FileSha256(const QString& fileName)
{
    QFile file(fileName);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

bool WriteAtomically(const QString& fileName, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(fileName).absolutePath()))
        return false;
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

TWebSitesUpdate::TWebSitesUpdate(QNetworkAccessManager& network, QThreadPool& workers,
                                 const QUrl& catalogueUrl, const QUrl& hashUrl,
                                 const QString& localFileName, TFinished finished)
    : FNetwork(network), FWorkers(workers), FCatalogueUrl(catalogueUrl), FHashUrl(hashUrl),
      FLocalFileName(localFileName), FFinished(std::move(finished))
{
}

void TWebSitesUpdate::Start()
{
    Download(FHashUrl, MaxHashBytes,
             [this](const std::optional<QByteArray>& text) { HashDownloaded(text); });
}

void TWebSitesUpdate::Download(const QUrl& url, qsizetype maxBytes,
                               const std::function<void(std::optional<QByteArray>)>& done)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(TransferTimeoutMs);
    QNetworkReply* reply = FNetwork.get(request);
    reply->setParent(this);
    // A reply larger than the limit is given up as it arrives.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, maxBytes](qint64 received) {
        if (received > maxBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [reply, maxBytes, done] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status != HttpOk) {
            done(std::nullopt);
            return;
        }
        const QByteArray bytes = reply->readAll();
        done(bytes.size() <= maxBytes ? std::optional(bytes) : std::nullopt);
    });
}

void TWebSitesUpdate::HashDownloaded(const std::optional<QByteArray>& hashText)
{
    FExpectedHash = hashText ? ParseHash(*hashText) : QByteArray();
    if (FExpectedHash.isEmpty()) {
        Finish(TWebSitesUpdateResult::wsurDownloadFailed);
        return;
    }
    OnWorker(
        [fileName = FLocalFileName, expected = FExpectedHash] {
            return FileSha256(fileName) == expected
                       ? std::optional(TWebSitesUpdateResult::wsurUpToDate)
                       : std::nullopt;
        },
        [this] {
            Download(
                FCatalogueUrl, MaxCatalogueBytes,
                [this](const std::optional<QByteArray>& bytes) { CatalogueDownloaded(bytes); });
        });
}

void TWebSitesUpdate::CatalogueDownloaded(const std::optional<QByteArray>& catalogue)
{
    if (!catalogue) {
        Finish(TWebSitesUpdateResult::wsurDownloadFailed);
        return;
    }
    OnWorker(
        [fileName = FLocalFileName, expected = FExpectedHash, bytes = *catalogue] {
            if (Sha256(bytes) != expected)
                return TWebSitesUpdateResult::wsurHashMismatch;
            if (!ParseWebSiteCatalogue(bytes))
                return TWebSitesUpdateResult::wsurNotACatalogue;
            return WriteAtomically(fileName, bytes) ? TWebSitesUpdateResult::wsurReplaced
                                                    : TWebSitesUpdateResult::wsurWriteFailed;
        },
        [] {});
}

void TWebSitesUpdate::OnWorker(const std::function<std::optional<TWebSitesUpdateResult>()>& work,
                               const std::function<void()>& whenNothing)
{
    FWorkers.start([this, work, whenNothing] {
        const std::optional<TWebSitesUpdateResult> result = work();
        QMetaObject::invokeMethod(
            this,
            [this, result, whenNothing] {
                if (result)
                    Finish(*result);
                else
                    whenNothing();
            },
            Qt::QueuedConnection);
    });
}

void TWebSitesUpdate::Finish(TWebSitesUpdateResult result)
{
    FFinished(result);
}

} // namespace Lockwyn
