#include "ConvertLib.LockwynXmlWriter.h"

#include "ConvertLib.LockwynXmlFormat.h"

#include <QIODevice>
#include <QXmlStreamWriter>

namespace Lockwyn {

namespace {

bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool FitsXml(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() || !IsXmlChar(c.unicode()))
            return false;
    }
    return true;
}

QString KindName(TTokenHistoryEntryKind kind)
{
    switch (kind) {
    case TTokenHistoryEntryKind::thekCreated:
        return QStringLiteral("created");
    case TTokenHistoryEntryKind::thekHistoryCleared:
        return QStringLiteral("cleared");
    case TTokenHistoryEntryKind::thekChanged:
        break;
    }
    return QStringLiteral("changed");
}

} // namespace

bool TLockwynXmlWriter::Write(const TGroupRecord& root, int version, QIODevice& device)
{
    QXmlStreamWriter writer(&device);
    FWriter = &writer;
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(1);
    writer.writeStartDocument();
    writer.writeStartElement(LockwynXml::RootElement.toString());
    writer.writeAttribute(LockwynXml::VersionAttribute.toString(), QString::number(version));
    WriteGroup(root);
    writer.writeEndElement();
    writer.writeEndDocument();
    FWriter = nullptr;
    return !writer.hasError();
}

void TLockwynXmlWriter::WriteGroup(const TGroupRecord& group)
{
    FWriter->writeStartElement(QStringLiteral("Group"));
    WriteText(u"Title", group.Title);
    WriteDates(group.CreationDate, group.ModificationDate, group.Expires, group.ExpirationDate);
    if (!group.Template.isEmpty()) {
        FWriter->writeStartElement(QStringLiteral("Template"));
        for (const auto& name : group.Template)
            WriteText(u"Name", name);
        FWriter->writeEndElement();
    }
    for (const auto& token : group.Tokens)
        WriteToken(token);
    for (const auto& child : group.Groups)
        WriteGroup(child);
    FWriter->writeEndElement();
}

void TLockwynXmlWriter::WriteToken(const TTokenRecord& token)
{
    FWriter->writeStartElement(QStringLiteral("Token"));
    WriteText(u"Title", token.Title);
    WriteText(u"UserName", token.UserName);
    WriteText(u"Password", token.Password);
    WriteText(u"URL", token.URL);
    WriteText(u"Notes", token.Notes);
    WriteDates(token.CreationDate, token.ModificationDate, token.Expires, token.ExpirationDate);
    WriteCustomProperties(token.CustomProperties);
    if (!token.History.isEmpty()) {
        FWriter->writeStartElement(QStringLiteral("History"));
        for (const auto& entry : token.History)
            WriteHistoryEntry(entry);
        FWriter->writeEndElement();
    }
    WriteBool(u"UseManualAutoLogin", token.UseManualAutoLogin);
    if (token.AutoLogin)
        WriteAutoLogin(*token.AutoLogin);
    FWriter->writeEndElement();
}

void TLockwynXmlWriter::WriteHistoryEntry(const TTokenHistoryEntry& entry)
{
    FWriter->writeStartElement(QStringLiteral("Entry"));
    FWriter->writeAttribute(QStringLiteral("kind"), KindName(entry.Kind));
    WriteDate(u"DateTime", entry.DateTime);
    WriteSnapshot(u"First", entry.First);
    WriteSnapshot(u"Second", entry.Second);
    FWriter->writeEndElement();
}

void TLockwynXmlWriter::WriteSnapshot(QStringView name, const TTokenFieldsSnapshot& snapshot)
{
    FWriter->writeStartElement(name.toString());
    WriteOptionalText(u"Title", snapshot.Title);
    WriteOptionalText(u"UserName", snapshot.UserName);
    WriteOptionalText(u"Password", snapshot.Password);
    WriteOptionalText(u"URL", snapshot.URL);
    WriteOptionalText(u"Notes", snapshot.Notes);
    WriteCustomProperties(snapshot.CustomProperties);
    FWriter->writeEndElement();
}

void TLockwynXmlWriter::WriteCustomProperties(const QList<TTokenCustomProperty>& properties)
{
    for (const auto& property : properties) {
        FWriter->writeStartElement(QStringLiteral("CustomProperty"));
        WriteText(u"Name", property.GetName());
        WriteText(u"Value", property.GetValue());
        FWriter->writeEndElement();
    }
}

void TLockwynXmlWriter::WriteAutoLogin(const TAutoLoginRecord& autoLogin)
{
    FWriter->writeStartElement(QStringLiteral("AutoLogin"));
    WriteBool(u"UseWebSitesDB", autoLogin.UseWebSitesDB);
    WriteText(u"LoginURL", autoLogin.LoginURL);
    WriteBool(u"ForceRedirect", autoLogin.ForceRedirect);
    WriteBool(u"AnalyzeAutomatically", autoLogin.AnalyzeAutomatically);
    WriteFormElement(u"UserNameElement", autoLogin.UserNameElement);
    WriteFormElement(u"PasswordElement", autoLogin.PasswordElement);
    FWriter->writeTextElement(QStringLiteral("WebFormIndex"),
                              QString::number(autoLogin.WebFormIndex));
    FWriter->writeEndElement();
}

void TLockwynXmlWriter::WriteFormElement(QStringView name, const TWebFormElement& element)
{
    FWriter->writeStartElement(name.toString());
    WriteText(u"ID", element.ID);
    WriteText(u"Name", element.Name);
    FWriter->writeEndElement();
}

void TLockwynXmlWriter::WriteDates(const QDateTime& created, const QDateTime& modified,
                                   bool expires, const QDateTime& expiration)
{
    WriteDate(u"CreationDate", created);
    WriteDate(u"ModificationDate", modified);
    WriteBool(u"Expires", expires);
    WriteDate(u"ExpirationDate", expiration);
}

void TLockwynXmlWriter::WriteDate(QStringView name, const QDateTime& value)
{
    if (value.isValid())
        FWriter->writeTextElement(name.toString(), value.toUTC().toString(Qt::ISODateWithMs));
}

void TLockwynXmlWriter::WriteBool(QStringView name, bool value)
{
    FWriter->writeTextElement(name.toString(),
                              value ? QStringLiteral("true") : QStringLiteral("false"));
}

// Carriage returns go out as character references, which readers keep, where a
// literal one would be turned into a line feed.
void TLockwynXmlWriter::WriteText(QStringView name, const QString& value)
{
    FWriter->writeStartElement(name.toString());
    if (!FitsXml(value)) {
        FWriter->writeAttribute(LockwynXml::EncodingAttribute.toString(),
                                LockwynXml::Base64.toString());
        QByteArray units;
        units.reserve(value.size() * 2);
        for (const QChar c : value) {
            units.append(char(c.unicode() & 0xFF));
            units.append(char(c.unicode() >> 8));
        }
        FWriter->writeCharacters(QString::fromLatin1(units.toBase64()));
    } else {
        const QStringList lines = value.split(u'\r');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                FWriter->writeEntityReference(QStringLiteral("#13"));
            FWriter->writeCharacters(lines.at(i));
        }
    }
    FWriter->writeEndElement();
}

void TLockwynXmlWriter::WriteOptionalText(QStringView name, const Nullable<QString>& value)
{
    if (value.GetHasValue())
        WriteText(name, value.GetValue());
}

} // namespace Lockwyn
