#pragma once
// The Chrome DevTools protocol over a browser's pipe: NUL-terminated JSON
// messages, commands answered by their ID, and events, flat for every
// attached target (each command and event carries its session ID).

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QStringList>

#include <functional>

namespace Platform {
class TBrowserProcess;
}

namespace Lockwyn {

class TDevToolsConnection final : public QObject
{
    Q_OBJECT
public:
    // error is empty when the command succeeded.
    using TAnswer = std::function<void(const QJsonObject& result, const QString& error)>;

    explicit TDevToolsConnection(Platform::TBrowserProcess& process);

    // An empty session ID addresses the browser itself.
    void Send(const QString& method, const QJsonObject& params, const QString& sessionId,
              const TAnswer& answer = {});
    // The same for Runtime.callFunctionOn, with secrets passed as the first
    // arguments of the call. They are written into the message directly,
    // never through a copy that outlives it, and the message is wiped once
    // sent.
    void SendCall(const QJsonObject& params, const QStringList& secretArguments,
                  const QString& sessionId, const TAnswer& answer);

    // Every command still waiting is answered with this error; no answer
    // comes later.
    void Fail(const QString& error);

Q_SIGNALS:
    void EventReceived(const QString& method, const QJsonObject& params, const QString& sessionId);

private:
    int Register(const TAnswer& answer);
    void Received(const QByteArray& bytes);
    void Dispatch(const QByteArray& message);

    Platform::TBrowserProcess& FProcess;
    int FLastId = 0;
    QHash<int, TAnswer> FAnswers;
    QByteArray FIncoming;
};

} // namespace Lockwyn
