#include "Lockwyn.UpdateService.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "Components.MessageDialog.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.ProductPage.h"

namespace {

const QString VersionKey = QStringLiteral("version");

// Connection-level failures (below 200); above them the server answered.
bool ServerNotReached(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

void Tell(const QString& message, TMsgDlgType type)
{
    TMessageDialog::Show(message, type, TMessageDialog::TDialogButtons::dbOk, 0);
}

} // namespace

TOvUpdateService::TOvUpdateService(QObject* parent)
    : QObject(parent), FVersionDocumentUrl(VersionDocumentUrl()),
      FCurrentVersion(QCoreApplication::applicationVersion())
{
    setObjectName(QStringLiteral("updsvcUpdate"));
}

TOvUpdateService::~TOvUpdateService()
{
    // Ends a running check without an answer to anyone.
    if (FReply) {
        disconnect(FReply, nullptr, this, nullptr);
        FReply->abort();
    }
}

void TOvUpdateService::SetAutoCheck(bool value)
{
    if (value != FAutoCheck) {
        FAutoCheck = value;
        Q_EMIT OnAutoCheckChanged(value);
    }
    if (FAutoCheck && !FAutoChecked) {
        FAutoChecked = true;
        StartCheck(true);
    }
}

void TOvUpdateService::Check()
{
    // A running automatic check reports its answer now.
    FSilent = false;
    if (!FReply)
        StartCheck(false);
}

void TOvUpdateService::StartCheck(bool silent)
{
    if (FReply)
        return;
    FSilent = silent;
    FTooLarge = false;
    QNetworkRequest request(FVersionDocumentUrl);
    request.setTransferTimeout(TransferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QString(QStringLiteral("Lockwyn/") + FCurrentVersion));
    FReply = FNetwork.get(request);
    QNetworkReply* reply = FReply;
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { LimitSize(reply); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { LimitSize(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { ReplyFinished(reply); });
}

// Stops a transfer as soon as it announces or brings more than the cap.
void TOvUpdateService::LimitSize(QNetworkReply* reply)
{
    const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced <= MaxDocumentSize && reply->bytesAvailable() <= MaxDocumentSize)
        return;
    FTooLarge = true;
    reply->abort();
}

void TOvUpdateService::ReplyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    QString newestVersion;
    const TUpdateCheckResult result = Evaluate(reply, newestVersion);
    FReply = nullptr;
    Report(result, newestVersion);
    Q_EMIT CheckFinished(result);
}

TUpdateCheckResult TOvUpdateService::Evaluate(QNetworkReply* reply, QString& newestVersion)
{
    if (FTooLarge)
        return TUpdateCheckResult::ucrAnswerUnreadable;
    if (ServerNotReached(reply->error()))
        return TUpdateCheckResult::ucrServerUnreachable;
    if (reply->error() != QNetworkReply::NoError)
        return TUpdateCheckResult::ucrAnswerUnreadable;
    const std::optional<QVersionNumber> newest = ParseVersionDocument(reply->readAll());
    if (!newest)
        return TUpdateCheckResult::ucrAnswerUnreadable;
    newestVersion = newest->toString();
    return *newest > QVersionNumber::fromString(FCurrentVersion)
               ? TUpdateCheckResult::ucrNewerVersion
               : TUpdateCheckResult::ucrCurrentVersion;
}

// An automatic check speaks only of a newer version.
void TOvUpdateService::Report(TUpdateCheckResult result, const QString& newestVersion)
{
    const TLocalizedStrings& strings = LocalizedStrings();
    switch (result) {
    case TUpdateCheckResult::ucrNewerVersion: {
        const QString page = ProductPageUrl().toString();
        const QStringList buttons{strings.FUpdateOpenProductPageButtonCaption,
                                  strings.FUpdateCloseButtonCaption};
        const int answer = TMessageDialog::Show(
            Lockwyn::Format(strings.FUpdateAvailableMessage, newestVersion, FCurrentVersion, page),
            TMsgDlgType::mtInformation, buttons, 0);
        if (answer == 0)
            QDesktopServices::openUrl(ProductPageUrl());
        return;
    }
    case TUpdateCheckResult::ucrCurrentVersion:
        if (!FSilent)
            Tell(Lockwyn::Format(strings.FUpdateCurrentMessage, FCurrentVersion),
                 TMsgDlgType::mtInformation);
        return;
    case TUpdateCheckResult::ucrServerUnreachable:
        if (!FSilent)
            Tell(strings.FUpdateServerUnreachable, TMsgDlgType::mtWarning);
        return;
    case TUpdateCheckResult::ucrAnswerUnreadable:
        if (!FSilent)
            Tell(strings.FUpdateAnswerUnreadable, TMsgDlgType::mtWarning);
        return;
    }
}

std::optional<QVersionNumber> TOvUpdateService::ParseVersionDocument(const QByteArray& document)
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(document, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return std::nullopt;
    const QString text = json.object().value(VersionKey).toString();
    qsizetype end = 0;
    const QVersionNumber version = QVersionNumber::fromString(text, &end);
    // Digits and dots only: "2.0-beta" or "2.0 " is not a version.
    if (version.isNull() || end != text.size())
        return std::nullopt;
    return version;
}
