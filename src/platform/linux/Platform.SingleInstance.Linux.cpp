#include "Platform.SingleInstance.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace Platform {
namespace {

constexpr int ConnectTimeoutMs = 500;

// A per-user local socket: its name carries the user id, and only that user
// may connect to it.
class TLocalSocketGuard final : public TSingleInstanceGuard
{
public:
    explicit TLocalSocketGuard(const QString& socketName)
    {
        FServer.setSocketOptions(QLocalServer::UserAccessOption);
        QObject::connect(&FServer, &QLocalServer::newConnection, &FServer,
                         [this] { AcceptMessages(); });
        FListening = FServer.listen(socketName);
    }

    bool Listening() const { return FListening; }

private:
    void AcceptMessages()
    {
        while (QLocalSocket* socket = FServer.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket,
                             &QLocalSocket::deleteLater);
            socket->disconnectFromServer();
            QCoreApplication::postEvent(QCoreApplication::instance(), new TInstanceMessageEvent);
        }
    }

    QLocalServer FServer;
    bool FListening = false;
};

bool SignalRunningCopy(const QString& socketName)
{
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

} // namespace

std::unique_ptr<TSingleInstanceGuard> TSingleInstanceGuard::Claim(const QString& instanceName)
{
    const QString socketName = instanceName + QLatin1Char('-') + QString::number(getuid());
    if (SignalRunningCopy(socketName))
        return nullptr;
    auto guard = std::make_unique<TLocalSocketGuard>(socketName);
    if (guard->Listening())
        return guard;
    // Either a copy started at the same moment, or a killed copy left its
    // socket file behind. Only a failed connect proves the file stale.
    if (SignalRunningCopy(socketName))
        return nullptr;
    QLocalServer::removeServer(socketName);
    guard = std::make_unique<TLocalSocketGuard>(socketName);
    // Without the socket the program still runs, just unprotected.
    return guard;
}

} // namespace Platform
