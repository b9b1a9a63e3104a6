#include "FormFillLib.DevToolsConnection.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "Platform.BrowserProcess.h"

namespace Lockwyn {

namespace {

// The most any secret can take once escaped: a UTF-16 unit becomes at most
// six bytes ("\u001f").
constexpr qsizetype MaxEscapedBytesPerUnit = 6;

QByteArray CompactJson(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Appends text as a JSON string, encoding UTF-8 directly into out, which has
// room for it, so no other copy of the text is made.
void AppendJsonString(QByteArray& out, const QString& text)
{
    static const char* const Hex = "0123456789abcdef";
    out += '"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            out += "\\u00";
            out += Hex[c >> 4];
            out += Hex[c & 0xf];
        } else if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xc0 | (c >> 6));
            out += char(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            out += char(0xe0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3f));
            out += char(0x80 | (c & 0x3f));
        } else {
            out += char(0xf0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3f));
            out += char(0x80 | ((c >> 6) & 0x3f));
            out += char(0x80 | (c & 0x3f));
        }
    }
    out += '"';
}

QByteArray MessageStart(int id, const QString& method, const QString& sessionId)
{
    QJsonObject head{{QStringLiteral("id"), id}, {QStringLiteral("method"), method}};
    if (!sessionId.isEmpty())
        head.insert(QStringLiteral("sessionId"), sessionId);
    QByteArray start = CompactJson(head);
    start.chop(1); // the closing brace; params follow
    return start + ",\"params\":";
}

} // namespace

TDevToolsConnection::TDevToolsConnection(Platform::TBrowserProcess& process) : FProcess(process)
{
    connect(&FProcess, &Platform::TBrowserProcess::Received, this, &TDevToolsConnection::Received);
}

void TDevToolsConnection::Send(const QString& method, const QJsonObject& params,
                               const QString& sessionId, const TAnswer& answer)
{
    QByteArray message = MessageStart(Register(answer), method, sessionId);
    message += CompactJson(params);
    message += "}";
    message += '\0';
    FProcess.Write(std::move(message));
}

void TDevToolsConnection::SendCall(const QJsonObject& params, const QStringList& secretArguments,
                                   const QString& sessionId, const TAnswer& answer)
{
    const QString arguments = QStringLiteral("arguments");
    QJsonObject others = params;
    const QJsonArray plainArguments = others.take(arguments).toArray();
    const QByteArray start =
        MessageStart(Register(answer), QStringLiteral("Runtime.callFunctionOn"), sessionId);
    QByteArray otherParams = CompactJson(others);
    otherParams.chop(1);
    QByteArray plain;
    for (const QJsonValue& argument : plainArguments)
        plain += ',' + CompactJson(argument.toObject());
    qsizetype room = start.size() + otherParams.size() + plain.size() + 64;
    for (const QString& secret : secretArguments)
        room += secret.size() * MaxEscapedBytesPerUnit + 16;

    QByteArray message;
    message.reserve(room);
    message += start;
    message += otherParams;
    message += otherParams.size() > 1 ? ",\"" : "\"";
    message += arguments.toLatin1();
    message += "\":[";
    for (qsizetype i = 0; i < secretArguments.size(); ++i) {
        message += i == 0 ? "{\"value\":" : ",{\"value\":";
        AppendJsonString(message, secretArguments[i]);
        message += '}';
    }
    message += secretArguments.isEmpty() && !plain.isEmpty() ? plain.mid(1) : plain;
    message += "]}}";
    message += '\0';
    FProcess.Write(std::move(message));
}

void TDevToolsConnection::Fail(const QString& error)
{
    const QHash<int, TAnswer> waiting = std::exchange(FAnswers, {});
    for (const TAnswer& answer : waiting)
        if (answer)
            answer({}, error);
}

int TDevToolsConnection::Register(const TAnswer& answer)
{
    ++FLastId;
    FAnswers.insert(FLastId, answer);
    return FLastId;
}

void TDevToolsConnection::Received(const QByteArray& bytes)
{
    FIncoming += bytes;
    qsizetype end;
    while ((end = FIncoming.indexOf('\0')) >= 0) {
        const QByteArray message = FIncoming.left(end);
        FIncoming.remove(0, end + 1);
        Dispatch(message);
    }
}

void TDevToolsConnection::Dispatch(const QByteArray& message)
{
    const QJsonObject object = QJsonDocument::fromJson(message).object();
    const QString sessionId = object.value(QStringLiteral("sessionId")).toString();
    if (object.contains(QStringLiteral("id"))) {
        const TAnswer answer = FAnswers.take(object.value(QStringLiteral("id")).toInt());
        if (!answer)
            return;
        const QJsonObject error = object.value(QStringLiteral("error")).toObject();
        answer(object.value(QStringLiteral("result")).toObject(),
               error.isEmpty()
                   ? QString()
                   : error.value(QStringLiteral("message")).toString(QStringLiteral("error")));
        return;
    }
    const QString method = object.value(QStringLiteral("method")).toString();
    if (!method.isEmpty())
        Q_EMIT EventReceived(method, object.value(QStringLiteral("params")).toObject(), sessionId);
}

} // namespace Lockwyn
