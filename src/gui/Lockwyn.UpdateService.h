#pragma once
// The update check: reads a small version document beside the product page
// without blocking the window, and tells the user when a newer version
// exists. It never downloads or runs anything; the product page opens in the
// browser only when the user asks for it.

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QVersionNumber>

#include <optional>

#include "Lockwyn.Interfaces.h"

enum class TUpdateCheckResult
{
    ucrNewerVersion,
    ucrCurrentVersion,
    ucrServerUnreachable,
    // The server answered with an error, too much, or a document that does
    // not say which version is the newest.
    ucrAnswerUnreadable,
};

class TOvUpdateService : public QObject, public IUpdateService
{
    Q_OBJECT
public:
    // A larger answer is refused before it is read.
    static constexpr qint64 MaxDocumentSize = 16 * 1024;
    static constexpr int TransferTimeoutMs = 15000;

    explicit TOvUpdateService(QObject* parent = nullptr);
    ~TOvUpdateService() override;

    // IUpdateService
    bool GetAutoCheck() override { return FAutoCheck; }
    // Switching it on checks once per run, silently unless a newer version
    // exists.
    void SetAutoCheck(bool value) override;
    // Checks now and reports the answer, whatever it is.
    void Check() override;

    bool GetChecking() const { return FReply != nullptr; }
    // Defaults: the document beside the product page, the program's version.
    void SetVersionDocumentUrl(const QUrl& url) { FVersionDocumentUrl = url; }
    void SetCurrentVersion(const QString& version) { FCurrentVersion = version; }

    // The newest version a document names: {"version": "1.2.3"}; empty when
    // the document does not name one.
    static std::optional<QVersionNumber> ParseVersionDocument(const QByteArray& document);

Q_SIGNALS:
    void OnAutoCheckChanged(bool value);
    // A check has ended and its answer was shown where it is shown.
    void CheckFinished(TUpdateCheckResult result);

private:
    void StartCheck(bool silent);
    void LimitSize(QNetworkReply* reply);
    void ReplyFinished(QNetworkReply* reply);
    TUpdateCheckResult Evaluate(QNetworkReply* reply, QString& newestVersion);
    void Report(TUpdateCheckResult result, const QString& newestVersion);

    QNetworkAccessManager FNetwork;
    QPointer<QNetworkReply> FReply;
    QUrl FVersionDocumentUrl;
    QString FCurrentVersion;
    bool FAutoCheck = false;
    bool FAutoChecked = false;
    bool FSilent = false;
    bool FTooLarge = false;
};
