#include "ConvertLib.LockwynXmlWriter.h"

#include "ConvertLib.LockwynXmlFormat.h"

namespace Lockwyn {

namespace {

bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool FitsXml(const QString& text)
{
    const char16_t* chars = QStringView(text).utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c >= 0x20 && c < 0xD800)
            continue; // the common case first
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(chars[i + 1])) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c) || !IsXmlChar(c))
            return false;
    }
    return true;
}

void PutDigits(char16_t*& out, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        out[i] = char16_t(u'0' + value % 10);
    out += digits;
}

// "2024-05-06T07:08:09.010Z"; QDateTime::toString formats through printf,
// and the parts of a date each cost a calendar conversion, which dominated an
// export of many tokens.
QString IsoUtc(const QDateTime& value)
{
    constexpr qint64 MsecsPerDay = 24 * 3600 * 1000;
    constexpr qint64 EpochJulianDay = 2440588; // 1970-01-01
    const qint64 msecs = value.toMSecsSinceEpoch();
    const qint64 days = msecs / MsecsPerDay - (msecs % MsecsPerDay < 0 ? 1 : 0);
    const qint64 msecOfDay = msecs - days * MsecsPerDay;
    int year = 0;
    int month = 0;
    int day = 0;
    QDate::fromJulianDay(EpochJulianDay + days).getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return value.toUTC().toString(Qt::ISODateWithMs);
    QString text(24, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto put = [&out](char16_t c) {
        *out++ = c;
    };
    PutDigits(out, year, 4);
    put(u'-');
    PutDigits(out, month, 2);
    put(u'-');
    PutDigits(out, day, 2);
    put(u'T');
    PutDigits(out, int(msecOfDay / 3600000), 2);
    put(u':');
    PutDigits(out, int(msecOfDay / 60000 % 60), 2);
    put(u':');
    PutDigits(out, int(msecOfDay / 1000 % 60), 2);
    put(u'.');
    PutDigits(out, int(msecOfDay % 1000), 3);
    put(u'Z');
    return text;
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

TLockwynXmlWriter::TLockwynXmlWriter(QIODevice& device, int version) : FOutput(device)
{
    FOutput.StartElement(LockwynXml::RootElement.toString());
    FOutput.Attribute(LockwynXml::VersionAttribute.toString(), QString::number(version));
}

void TLockwynXmlWriter::StartGroup(const TGroupRecord& group)
{
    FOutput.StartElement(QStringLiteral("Group"));
    WriteText(QStringLiteral("Title"), group.Title);
    WriteDates(group.CreationDate, group.ModificationDate, group.Expires, group.ExpirationDate);
    if (group.Template.isEmpty())
        return;
    FOutput.StartElement(QStringLiteral("Template"));
    for (const auto& name : group.Template)
        WriteText(QStringLiteral("Name"), name);
    FOutput.EndElement();
}

void TLockwynXmlWriter::EndGroup()
{
    FOutput.EndElement();
}

bool TLockwynXmlWriter::Finish()
{
    FOutput.EndElement();
    return FOutput.Finish();
}

void TLockwynXmlWriter::AddToken(const TTokenRecord& token)
{
    FOutput.StartElement(QStringLiteral("Token"));
    WriteText(QStringLiteral("Title"), token.Title);
    WriteNonEmptyText(QStringLiteral("UserName"), token.UserName);
    WriteNonEmptyText(QStringLiteral("Password"), token.Password);
    WriteNonEmptyText(QStringLiteral("URL"), token.URL);
    WriteNonEmptyText(QStringLiteral("Notes"), token.Notes);
    WriteDates(token.CreationDate, token.ModificationDate, token.Expires, token.ExpirationDate);
    WriteCustomProperties(token.CustomProperties);
    if (!token.History.isEmpty()) {
        FOutput.StartElement(QStringLiteral("History"));
        for (const auto& entry : token.History)
            WriteHistoryEntry(entry);
        FOutput.EndElement();
    }
    if (token.UseManualAutoLogin)
        WriteBool(QStringLiteral("UseManualAutoLogin"), true);
    if (token.AutoLogin && *token.AutoLogin != TAutoLoginValues{})
        WriteAutoLogin(*token.AutoLogin);
    FOutput.EndElement();
}

void TLockwynXmlWriter::WriteHistoryEntry(const TTokenHistoryEntry& entry)
{
    FOutput.StartElement(QStringLiteral("Entry"));
    FOutput.Attribute(QStringLiteral("kind"), KindName(entry.Kind));
    WriteDate(QStringLiteral("DateTime"), entry.DateTime);
    if (entry.First != TTokenFieldsSnapshot{})
        WriteSnapshot(QStringLiteral("First"), entry.First);
    if (entry.Second != TTokenFieldsSnapshot{})
        WriteSnapshot(QStringLiteral("Second"), entry.Second);
    FOutput.EndElement();
}

void TLockwynXmlWriter::WriteSnapshot(const QString& name, const TTokenFieldsSnapshot& snapshot)
{
    FOutput.StartElement(name);
    WriteOptionalText(QStringLiteral("Title"), snapshot.Title);
    WriteOptionalText(QStringLiteral("UserName"), snapshot.UserName);
    WriteOptionalText(QStringLiteral("Password"), snapshot.Password);
    WriteOptionalText(QStringLiteral("URL"), snapshot.URL);
    WriteOptionalText(QStringLiteral("Notes"), snapshot.Notes);
    WriteCustomProperties(snapshot.CustomProperties);
    FOutput.EndElement();
}

void TLockwynXmlWriter::WriteCustomProperties(const QList<TTokenCustomProperty>& properties)
{
    for (const auto& property : properties) {
        FOutput.StartElement(QStringLiteral("CustomProperty"));
        WriteText(QStringLiteral("Name"), property.GetName());
        WriteText(QStringLiteral("Value"), property.GetValue());
        FOutput.EndElement();
    }
}

void TLockwynXmlWriter::WriteAutoLogin(const TAutoLoginValues& autoLogin)
{
    FOutput.StartElement(QStringLiteral("AutoLogin"));
    WriteBool(QStringLiteral("UseWebSitesDB"), autoLogin.UseWebSitesDB);
    WriteText(QStringLiteral("LoginURL"), autoLogin.LoginURL);
    WriteBool(QStringLiteral("ForceRedirect"), autoLogin.ForceRedirect);
    WriteBool(QStringLiteral("AnalyzeAutomatically"), autoLogin.AnalyzeAutomatically);
    WriteFormElement(QStringLiteral("UserNameElement"), autoLogin.UserNameElement);
    WriteFormElement(QStringLiteral("PasswordElement"), autoLogin.PasswordElement);
    FOutput.TextElement(QStringLiteral("WebFormIndex"), QString::number(autoLogin.WebFormIndex));
    FOutput.EndElement();
}

void TLockwynXmlWriter::WriteFormElement(const QString& name, const TWebFormElement& element)
{
    FOutput.StartElement(name);
    WriteText(QStringLiteral("ID"), element.ID);
    WriteText(QStringLiteral("Name"), element.Name);
    FOutput.EndElement();
}

void TLockwynXmlWriter::WriteDates(const QDateTime& created, const QDateTime& modified,
                                   bool expires, const QDateTime& expiration)
{
    WriteDate(QStringLiteral("CreationDate"), created);
    WriteDate(QStringLiteral("ModificationDate"), modified);
    if (expires)
        WriteBool(QStringLiteral("Expires"), true);
    if (expiration.isValid() && expiration.toMSecsSinceEpoch() != 0)
        WriteDate(QStringLiteral("ExpirationDate"), expiration);
}

void TLockwynXmlWriter::WriteDate(const QString& name, const QDateTime& value)
{
    if (value.isValid())
        FOutput.TextElement(name, IsoUtc(value));
}

void TLockwynXmlWriter::WriteBool(const QString& name, bool value)
{
    FOutput.TextElement(name, value ? QStringLiteral("true") : QStringLiteral("false"));
}

// Carriage returns go out as character references, which readers keep, where a
// literal one would be turned into a line feed.
void TLockwynXmlWriter::WriteText(const QString& name, const QString& value)
{
    if (FitsXml(value)) {
        FOutput.TextElement(name, value);
        return;
    }
    QByteArray units;
    units.reserve(value.size() * 2);
    for (const QChar c : value) {
        units.append(char(c.unicode() & 0xFF));
        units.append(char(c.unicode() >> 8));
    }
    FOutput.TextElement(name, LockwynXml::EncodingAttribute.toString(),
                        LockwynXml::Base64.toString(), QString::fromLatin1(units.toBase64()));
}

void TLockwynXmlWriter::WriteNonEmptyText(const QString& name, const QString& value)
{
    if (!value.isEmpty())
        WriteText(name, value);
}

void TLockwynXmlWriter::WriteOptionalText(const QString& name, const Nullable<QString>& value)
{
    if (value.GetHasValue())
        WriteText(name, value.GetValue());
}

} // namespace Lockwyn
