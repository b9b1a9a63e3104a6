#include "WebTestServer.h"

#include <QPointer>
#include <QTcpSocket>

TWebTestServer::TWebTestServer()
{
    FServer.listen(QHostAddress::LocalHost);
    connect(&FServer, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = FServer.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] {
                FBuffers.remove(socket);
                for (QList<QTcpSocket*>& held : FHeld)
                    held.removeAll(socket);
            });
        }
    });
}

QUrl TWebTestServer::Url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(FServer.serverPort()).arg(path));
}

QUrl TWebTestServer::OtherHostUrl(const QString& path) const
{
    return QUrl(QStringLiteral("http://localhost:%1%2").arg(FServer.serverPort()).arg(path));
}

void TWebTestServer::Serve(const QString& path, const TWebTestResponse& response)
{
    FResponses.insert(path, response);
}

void TWebTestServer::ServePage(const QString& path, const QByteArray& html)
{
    TWebTestResponse response;
    response.Body = html;
    Serve(path, response);
}

void TWebTestServer::Hold(const QString& path)
{
    FHeld.insert(path, {});
}

void TWebTestServer::Release(const QString& path)
{
    const QList<QTcpSocket*> waiting = FHeld.take(path);
    for (QTcpSocket* socket : waiting)
        Answer(socket, path);
}

QList<TWebTestRequest> TWebTestServer::RequestsFor(const QString& path) const
{
    QList<TWebTestRequest> found;
    for (const TWebTestRequest& request : FRequests)
        if (request.Path == path)
            found << request;
    return found;
}

void TWebTestServer::Read(QTcpSocket* socket)
{
    QByteArray& buffer = FBuffers[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    TWebTestRequest request;
    qsizetype contentLength = 0;
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length")
            contentLength = value.toLongLong();
        else if (name == "host")
            request.Host = value;
    }
    if (buffer.size() < headerEnd + 4 + contentLength)
        return;
    request.Method = requestLine.value(0);
    request.Path = QUrl(QString::fromLatin1(requestLine.value(1))).path();
    request.Body = buffer.mid(headerEnd + 4, contentLength);
    FBuffers.remove(socket);
    FRequests << request;
    Q_EMIT RequestReceived(request);
    if (FHeld.contains(request.Path))
        FHeld[request.Path] << socket;
    else
        Answer(socket, request.Path);
}

void TWebTestServer::Answer(QTcpSocket* socket, const QString& path)
{
    TWebTestResponse response = FResponses.value(path);
    if (!FResponses.contains(path)) {
        response.Status = 404;
        response.Body = "not found";
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.Status) + " Status\r\n";
    head += "Content-Type: " + response.ContentType + "\r\n";
    const qsizetype declared = response.Body.size() + (response.Truncated ? 1000 : 0);
    head += "Content-Length: " + QByteArray::number(declared) + "\r\n";
    head += "Cache-Control: no-store\r\nConnection: close\r\n";
    for (const auto& [name, value] : std::as_const(response.Headers))
        head += name + ": " + value + "\r\n";
    socket->write(head + "\r\n" + response.Body);
    socket->disconnectFromHost();
}
