#pragma once
// A small HTTP server on the loopback address for the web tests: it serves
// fixed pages by path, records what it receives, can hold an answer back
// until released, and answers with a wrong length to cut a download short.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

struct TWebTestResponse
{
    int Status = 200;
    QByteArray ContentType = "text/html; charset=utf-8";
    QByteArray Body;
    // "Location" for redirects and the like.
    QList<QPair<QByteArray, QByteArray>> Headers;
    // Declares more bytes than the body has and closes after the body.
    bool Truncated = false;
};

struct TWebTestRequest
{
    QByteArray Method;
    QString Path;
    QByteArray Host;
    QByteArray Body;
};

class TWebTestServer final : public QObject
{
    Q_OBJECT
public:
    TWebTestServer();

    // http://127.0.0.1:<port><path>
    QUrl Url(const QString& path) const;
    // The same server under another host name: http://localhost:<port><path>
    QUrl OtherHostUrl(const QString& path) const;

    void Serve(const QString& path, const TWebTestResponse& response);
    void ServePage(const QString& path, const QByteArray& html);
    // Answers for the path wait until Release.
    void Hold(const QString& path);
    void Release(const QString& path);

    QList<TWebTestRequest> Requests() const { return FRequests; }
    QList<TWebTestRequest> RequestsFor(const QString& path) const;

Q_SIGNALS:
    void RequestReceived(const TWebTestRequest& request);

private:
    void Read(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const QString& path);

    QTcpServer FServer;
    QHash<QString, TWebTestResponse> FResponses;
    QHash<QString, QList<QTcpSocket*>> FHeld;
    QList<TWebTestRequest> FRequests;
    QHash<QTcpSocket*, QByteArray> FBuffers;
};
