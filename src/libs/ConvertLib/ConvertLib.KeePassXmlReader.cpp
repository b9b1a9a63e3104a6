#include "ConvertLib.KeePassXmlReader.h"

#include "ConvertLib.HistoryFromVersions.h"
#include "ConvertLib.XmlInput.h"

#include <QtEndian>

namespace Lockwyn {

namespace {

bool IsTrue(const QString& text)
{
    return text.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
}

void AddCustomProperty(TTokenRecord& entry, const QString& name, const QString& value)
{
    if (name.isEmpty())
        return;
    for (const auto& property : entry.CustomProperties)
        if (property.GetName() == name)
            return;
    entry.CustomProperties.append(TTokenCustomProperty(name, value));
}

} // namespace

QDateTime TKeePassXmlReader::ParseTime(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.contains(u'-') || trimmed.contains(u':'))
        return QDateTime::fromString(trimmed, Qt::ISODate).toLocalTime();
    const QByteArray bytes = QByteArray::fromBase64(trimmed.toLatin1());
    if (bytes.size() != 8)
        return {};
    const qint64 seconds = qFromLittleEndian<qint64>(bytes.constData());
    const QDateTime epoch(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    return epoch.addSecs(seconds).toLocalTime();
}

std::optional<TGroupRecord> TKeePassXmlReader::Read(const QString& fileName)
{
    TXmlInput input;
    FInput = &input;
    if (!input.Open(fileName) || !input.ReadNextChild() || input.Name() != u"KeePassFile")
        return std::nullopt;
    std::optional<TGroupRecord> root;
    while (input.ReadNextChild()) {
        if (input.Name() == u"Meta")
            ReadMeta();
        else if (input.Name() == u"Root")
            ReadRoot(root);
        else
            input.Skip();
    }
    if (!input.Finish())
        return std::nullopt;
    return root;
}

void TKeePassXmlReader::ReadMeta()
{
    while (FInput->ReadNextChild()) {
        if (FInput->Name() == u"RecycleBinEnabled")
            FRecycleBinEnabled = IsTrue(FInput->ReadText());
        else if (FInput->Name() == u"RecycleBinUUID")
            FRecycleBinUUID = FInput->ReadText().trimmed();
        else
            FInput->Skip();
    }
}

// The first group is the database's root; a writer that puts more groups
// beside it has them imported below it.
void TKeePassXmlReader::ReadRoot(std::optional<TGroupRecord>& root)
{
    while (FInput->ReadNextChild()) {
        if (FInput->Name() != u"Group") {
            FInput->Skip();
            continue;
        }
        auto group = ReadGroup();
        if (!group)
            continue;
        if (root)
            root->Groups.push_back(std::move(*group));
        else
            root = std::move(group);
    }
}

std::optional<TGroupRecord> TKeePassXmlReader::ReadGroup()
{
    TGroupRecord group;
    bool recycleBin = false;
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"UUID") {
            const QString uuid = FInput->ReadText().trimmed();
            recycleBin = FRecycleBinEnabled && !uuid.isEmpty() && uuid == FRecycleBinUUID;
        } else if (name == u"Name") {
            group.Title = FInput->ReadText();
        } else if (name == u"Times") {
            ReadTimes(group.CreationDate, group.ModificationDate, group.Expires,
                      group.ExpirationDate);
        } else if (name == u"Entry") {
            group.Tokens.append(ReadEntry(true));
        } else if (name == u"Group") {
            if (auto child = ReadGroup())
                group.Groups.push_back(std::move(*child));
        } else {
            FInput->Skip();
        }
    }
    if (recycleBin)
        return std::nullopt;
    return group;
}

TTokenRecord TKeePassXmlReader::ReadEntry(bool withHistory)
{
    TTokenRecord entry;
    QList<TTokenRecord> versions;
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"Times") {
            ReadTimes(entry.CreationDate, entry.ModificationDate, entry.Expires,
                      entry.ExpirationDate);
        } else if (name == u"String") {
            ReadString(entry);
        } else if (name == u"Tags") {
            const QString tags = FInput->ReadText();
            if (!tags.isEmpty())
                AddCustomProperty(entry, QStringLiteral("Tags"), tags);
        } else if (name == u"History" && withHistory) {
            versions = ReadHistory();
        } else {
            FInput->Skip();
        }
    }
    if (withHistory) {
        versions.append(entry);
        entry.History = HistoryFromVersions(versions);
    }
    return entry;
}

void TKeePassXmlReader::ReadTimes(QDateTime& created, QDateTime& modified, bool& expires,
                                  QDateTime& expiry)
{
    QDateTime expiryTime;
    bool expiring = false;
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"CreationTime")
            created = ParseTime(FInput->ReadText());
        else if (name == u"LastModificationTime")
            modified = ParseTime(FInput->ReadText());
        else if (name == u"ExpiryTime")
            expiryTime = ParseTime(FInput->ReadText());
        else if (name == u"Expires")
            expiring = IsTrue(FInput->ReadText());
        else
            FInput->Skip();
    }
    expires = expiring && expiryTime.isValid();
    expiry = expires ? expiryTime : QDateTime();
}

void TKeePassXmlReader::ReadString(TTokenRecord& entry)
{
    QString key;
    QString value;
    while (FInput->ReadNextChild()) {
        if (FInput->Name() == u"Key")
            key = FInput->ReadText();
        else if (FInput->Name() == u"Value")
            value = FInput->ReadText();
        else
            FInput->Skip();
    }
    if (key == u"Title")
        entry.Title = value;
    else if (key == u"UserName")
        entry.UserName = value;
    else if (key == u"Password")
        entry.Password = value;
    else if (key == u"URL")
        entry.URL = value;
    else if (key == u"Notes")
        entry.Notes = value;
    else
        AddCustomProperty(entry, key, value);
}

QList<TTokenRecord> TKeePassXmlReader::ReadHistory()
{
    QList<TTokenRecord> versions;
    while (FInput->ReadNextChild()) {
        if (FInput->Name() == u"Entry")
            versions.append(ReadEntry(false));
        else
            FInput->Skip();
    }
    return versions;
}

} // namespace Lockwyn
