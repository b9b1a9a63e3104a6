#include "ConvertLib.LockwynXmlReader.h"

#include "ConvertLib.LockwynXmlFormat.h"
#include "ConvertLib.XmlInput.h"

namespace Lockwyn {

namespace {

TTokenHistoryEntryKind KindFromName(const QString& name)
{
    if (name == u"created")
        return TTokenHistoryEntryKind::thekCreated;
    if (name == u"cleared")
        return TTokenHistoryEntryKind::thekHistoryCleared;
    return TTokenHistoryEntryKind::thekChanged;
}

QString FromUtf16LeBase64(const QString& text)
{
    const QByteArray units = QByteArray::fromBase64(text.toLatin1());
    QString value;
    value.reserve(units.size() / 2);
    for (qsizetype i = 0; i + 1 < units.size(); i += 2)
        value.append(QChar(char16_t(quint8(units.at(i)) | (quint8(units.at(i + 1)) << 8))));
    return value;
}

} // namespace

std::optional<TImportedDocument> TLockwynXmlReader::Read(const QString& fileName)
{
    TXmlInput input;
    FInput = &input;
    if (!input.Open(fileName) || !input.ReadNextChild() || input.Name() != LockwynXml::RootElement)
        return std::nullopt;
    TImportedDocument document;
    bool versionOk = false;
    document.Version = input.Attribute(LockwynXml::VersionAttribute).toInt(&versionOk);
    if (!versionOk || document.Version <= 0)
        return std::nullopt;
    bool hasRoot = false;
    while (input.ReadNextChild()) {
        if (input.Name() == u"Group" && !hasRoot) {
            ReadGroup(document.Root);
            hasRoot = true;
        } else
            input.Skip();
    }
    if (!input.Finish() || !hasRoot)
        return std::nullopt;
    return document;
}

void TLockwynXmlReader::ReadGroup(TGroupRecord& group)
{
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"Title") {
            group.Title = ReadValue();
        } else if (ReadDate(group.CreationDate, group.ModificationDate, group.Expires,
                            group.ExpirationDate)) {
        } else if (name == u"Template") {
            ReadTemplate(group.Template);
        } else if (name == u"Token") {
            group.Tokens.append(ReadToken());
        } else if (name == u"Group") {
            group.Groups.push_back(TGroupRecord{});
            ReadGroup(group.Groups.back());
        } else {
            FInput->Skip();
        }
    }
}

TTokenRecord TLockwynXmlReader::ReadToken()
{
    TTokenRecord token;
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"Title") {
            token.Title = ReadValue();
        } else if (name == u"UserName") {
            token.UserName = ReadValue();
        } else if (name == u"Password") {
            token.Password = ReadValue();
        } else if (name == u"URL") {
            token.URL = ReadValue();
        } else if (name == u"Notes") {
            token.Notes = ReadValue();
        } else if (ReadDate(token.CreationDate, token.ModificationDate, token.Expires,
                            token.ExpirationDate)) {
        } else if (name == u"CustomProperty") {
            token.CustomProperties.append(ReadCustomProperty());
        } else if (name == u"History") {
            while (FInput->ReadNextChild()) {
                if (FInput->Name() == u"Entry")
                    token.History.append(ReadHistoryEntry());
                else
                    FInput->Skip();
            }
        } else if (name == u"UseManualAutoLogin") {
            token.UseManualAutoLogin = ReadBool();
        } else if (name == u"AutoLogin") {
            token.AutoLogin = ReadAutoLogin();
        } else {
            FInput->Skip();
        }
    }
    return token;
}

void TLockwynXmlReader::ReadTemplate(QStringList& names)
{
    while (FInput->ReadNextChild()) {
        if (FInput->Name() == u"Name")
            names.append(ReadValue());
        else
            FInput->Skip();
    }
}

TTokenHistoryEntry TLockwynXmlReader::ReadHistoryEntry()
{
    TTokenHistoryEntry entry;
    entry.Kind = KindFromName(FInput->Attribute(u"kind"));
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"DateTime")
            entry.DateTime = ReadDateTime();
        else if (name == u"First")
            entry.First = ReadSnapshot();
        else if (name == u"Second")
            entry.Second = ReadSnapshot();
        else
            FInput->Skip();
    }
    return entry;
}

TTokenFieldsSnapshot TLockwynXmlReader::ReadSnapshot()
{
    TTokenFieldsSnapshot snapshot;
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"Title")
            snapshot.Title = ReadValue();
        else if (name == u"UserName")
            snapshot.UserName = ReadValue();
        else if (name == u"Password")
            snapshot.Password = ReadValue();
        else if (name == u"URL")
            snapshot.URL = ReadValue();
        else if (name == u"Notes")
            snapshot.Notes = ReadValue();
        else if (name == u"CustomProperty")
            snapshot.CustomProperties.append(ReadCustomProperty());
        else
            FInput->Skip();
    }
    return snapshot;
}

TTokenCustomProperty TLockwynXmlReader::ReadCustomProperty()
{
    QString name;
    QString value;
    while (FInput->ReadNextChild()) {
        if (FInput->Name() == u"Name")
            name = ReadValue();
        else if (FInput->Name() == u"Value")
            value = ReadValue();
        else
            FInput->Skip();
    }
    return TTokenCustomProperty(name, value);
}

TAutoLoginValues TLockwynXmlReader::ReadAutoLogin()
{
    TAutoLoginValues autoLogin;
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"UseWebSitesDB")
            autoLogin.UseWebSitesDB = ReadBool();
        else if (name == u"LoginURL")
            autoLogin.LoginURL = ReadValue();
        else if (name == u"ForceRedirect")
            autoLogin.ForceRedirect = ReadBool();
        else if (name == u"AnalyzeAutomatically")
            autoLogin.AnalyzeAutomatically = ReadBool();
        else if (name == u"UserNameElement")
            autoLogin.UserNameElement = ReadFormElement();
        else if (name == u"PasswordElement")
            autoLogin.PasswordElement = ReadFormElement();
        else if (name == u"WebFormIndex")
            autoLogin.WebFormIndex = FInput->ReadText().trimmed().toInt();
        else
            FInput->Skip();
    }
    return autoLogin;
}

TWebFormElement TLockwynXmlReader::ReadFormElement()
{
    TWebFormElement element;
    while (FInput->ReadNextChild()) {
        if (FInput->Name() == u"ID")
            element.ID = ReadValue();
        else if (FInput->Name() == u"Name")
            element.Name = ReadValue();
        else
            FInput->Skip();
    }
    return element;
}

bool TLockwynXmlReader::ReadDate(QDateTime& created, QDateTime& modified, bool& expires,
                                 QDateTime& expiration)
{
    const auto name = FInput->Name();
    if (name == u"CreationDate")
        created = ReadDateTime();
    else if (name == u"ModificationDate")
        modified = ReadDateTime();
    else if (name == u"Expires")
        expires = ReadBool();
    else if (name == u"ExpirationDate")
        expiration = ReadDateTime();
    else
        return false;
    return true;
}

QDateTime TLockwynXmlReader::ReadDateTime()
{
    return QDateTime::fromString(FInput->ReadText().trimmed(), Qt::ISODateWithMs).toLocalTime();
}

bool TLockwynXmlReader::ReadBool()
{
    return FInput->ReadText().trimmed() == u"true";
}

QString TLockwynXmlReader::ReadValue()
{
    if (FInput->Attribute(LockwynXml::EncodingAttribute) == LockwynXml::Base64)
        return FromUtf16LeBase64(FInput->ReadText());
    return FInput->ReadText();
}

} // namespace Lockwyn
