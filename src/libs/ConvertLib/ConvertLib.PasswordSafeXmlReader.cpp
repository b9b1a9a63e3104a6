#include "ConvertLib.PasswordSafeXmlReader.h"

#include "ConvertLib.HistoryFromVersions.h"
#include "ConvertLib.XmlInput.h"

#include <algorithm>

namespace Lockwyn {

namespace {

// Text fields kept as custom values, with the captions Password Safe shows.
struct TCustomField
{
    const char16_t* Element;
    const char* Caption;
};
constexpr TCustomField CustomFields[] = {
    {u"email", "Email"},
    {u"autotype", "Autotype"},
    {u"runcommand", "Run Command"},
    {u"symbols", "Symbols"},
    {u"kbshortcut", "Keyboard Shortcut"},
    {u"PasswordPolicyName", "Password Policy"},
};

const TCustomField* FindCustomField(QStringView element)
{
    for (const auto& field : CustomFields)
        if (element == QStringView(field.Element))
            return &field;
    return nullptr;
}

QDateTime ParseTime(const QString& text)
{
    return QDateTime::fromString(text.trimmed(), Qt::ISODate);
}

TGroupRecord& GroupAt(TGroupRecord& root, const QStringList& path)
{
    TGroupRecord* group = &root;
    for (const auto& title : path) {
        auto& groups = group->Groups;
        auto found = std::find_if(groups.begin(), groups.end(),
                                  [&](const TGroupRecord& g) { return g.Title == title; });
        if (found == groups.end()) {
            groups.push_back(TGroupRecord{});
            groups.back().Title = title;
            found = groups.end() - 1;
        }
        group = &*found;
    }
    return *group;
}

} // namespace

QStringList TPasswordSafeXmlReader::SplitGroupPath(const QString& path)
{
    QStringList titles;
    QString title;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path.at(i);
        if (c == u'\\' && i + 1 < path.size() && path.at(i + 1) == u'.') {
            title += u'.';
            ++i;
        } else if (c == u'.') {
            titles.append(title);
            title.clear();
        } else {
            title += c;
        }
    }
    titles.append(title);
    titles.removeAll(QString());
    return titles;
}

std::optional<TGroupRecord> TPasswordSafeXmlReader::Read(const QString& fileName)
{
    TXmlInput input;
    FInput = &input;
    if (!input.Open(fileName) || !input.ReadNextChild() || input.Name() != u"passwordsafe")
        return std::nullopt;
    FDelimiter = input.Attribute(u"delimiter");
    TGroupRecord root;
    while (input.ReadNextChild()) {
        if (input.Name() == u"entry")
            ReadEntry(root);
        else if (input.Name() == u"EmptyGroups")
            ReadEmptyGroups(root);
        else
            input.Skip();
    }
    if (!input.Finish())
        return std::nullopt;
    return root;
}

void TPasswordSafeXmlReader::ReadEntry(TGroupRecord& root)
{
    TTokenRecord entry;
    QString group;
    QDateTime passwordModified;
    QDateTime recordModified;
    QList<TEarlierPassword> earlier;
    while (FInput->ReadNextChild()) {
        const auto name = FInput->Name();
        if (name == u"group") {
            group = FInput->ReadText();
        } else if (name == u"title") {
            entry.Title = FInput->ReadText();
        } else if (name == u"username") {
            entry.UserName = FInput->ReadText();
        } else if (name == u"password") {
            entry.Password = FInput->ReadText();
        } else if (name == u"url") {
            entry.URL = FInput->ReadText();
        } else if (name == u"notes") {
            entry.Notes = FInput->ReadText();
            if (FDelimiter.size() == 1)
                entry.Notes.replace(FDelimiter, QStringLiteral("\n"));
        } else if (name == u"ctimex") {
            entry.CreationDate = ParseTime(FInput->ReadText());
        } else if (name == u"ctime") {
            entry.CreationDate = ReadOldStyleTime();
        } else if (name == u"pmtimex") {
            passwordModified = ParseTime(FInput->ReadText());
        } else if (name == u"pmtime") {
            passwordModified = ReadOldStyleTime();
        } else if (name == u"rmtimex") {
            recordModified = ParseTime(FInput->ReadText());
        } else if (name == u"rmtime") {
            recordModified = ReadOldStyleTime();
        } else if (name == u"xtimex") {
            entry.ExpirationDate = ParseTime(FInput->ReadText());
        } else if (name == u"xtime" || name == u"ltime") {
            entry.ExpirationDate = ReadOldStyleTime();
        } else if (name == u"pwhistory") {
            earlier = ReadPasswordHistory();
        } else if (const auto* field = FindCustomField(name)) {
            const QString value = FInput->ReadText();
            if (!value.isEmpty())
                entry.CustomProperties.append(
                    TTokenCustomProperty(QString::fromUtf8(field->Caption), value));
        } else {
            FInput->Skip();
        }
    }
    entry.Expires = entry.ExpirationDate.isValid();
    entry.ModificationDate = std::max(passwordModified, recordModified);
    QList<TTokenRecord> versions;
    for (const auto& password : earlier) {
        versions.append(entry);
        versions.last().Password = password.Password;
        versions.last().ModificationDate = password.SetAt;
    }
    versions.append(entry);
    if (passwordModified.isValid())
        versions.last().ModificationDate = passwordModified;
    entry.History = HistoryFromVersions(versions);
    GroupAt(root, SplitGroupPath(group)).Tokens.append(entry);
}

void TPasswordSafeXmlReader::ReadEmptyGroups(TGroupRecord& root)
{
    while (FInput->ReadNextChild()) {
        if (FInput->Name() == u"EGName")
            GroupAt(root, SplitGroupPath(FInput->ReadText()));
        else
            FInput->Skip();
    }
}

// Each earlier password with the date it was set, oldest first.
QList<TPasswordSafeXmlReader::TEarlierPassword> TPasswordSafeXmlReader::ReadPasswordHistory()
{
    QList<TEarlierPassword> passwords;
    while (FInput->ReadNextChild()) {
        if (FInput->Name() != u"history_entries") {
            FInput->Skip();
            continue;
        }
        while (FInput->ReadNextChild()) {
            if (FInput->Name() != u"history_entry") {
                FInput->Skip();
                continue;
            }
            TEarlierPassword password;
            while (FInput->ReadNextChild()) {
                if (FInput->Name() == u"changedx")
                    password.SetAt = ParseTime(FInput->ReadText());
                else if (FInput->Name() == u"oldpassword")
                    password.Password = FInput->ReadText();
                else
                    FInput->Skip();
            }
            passwords.append(password);
        }
    }
    std::stable_sort(
        passwords.begin(), passwords.end(),
        [](const TEarlierPassword& a, const TEarlierPassword& b) { return a.SetAt < b.SetAt; });
    return passwords;
}

// Before version 3.13 times were written as <date> and <time> children.
QDateTime TPasswordSafeXmlReader::ReadOldStyleTime()
{
    QDate date;
    QTime time;
    while (FInput->ReadNextChild()) {
        if (FInput->Name() == u"date")
            date = QDate::fromString(FInput->ReadText().trimmed(), Qt::ISODate);
        else if (FInput->Name() == u"time")
            time = QTime::fromString(FInput->ReadText().trimmed(), Qt::ISODate);
        else
            FInput->Skip();
    }
    return date.isValid() ? QDateTime(date, time.isValid() ? time : QTime(0, 0)) : QDateTime();
}

} // namespace Lockwyn
