#pragma once
// A loaded library with its storage, helpers that build a small database
// through operations, and a dump of a whole tree to compare states.

#include "Components.CompanionLibLoader.h"
#include "LockwynLib.Interfaces.h"

#include <QDateTime>

#include <functional>

using namespace Lockwyn;

namespace TestData {

inline const QString CopyTemplate = QStringLiteral("%0:s (Copy %1:d)");
inline const QString ImportTemplate = QStringLiteral("%0:s (Imported %1:d)");

// The library and the objects every test needs.
struct TFixture
{
    TCompanionLibLoader<ILockwyn> Connection{QStringLiteral("LockwynLib")};
    std::shared_ptr<ILockwyn> Lib = Connection.MainInterface();
    std::shared_ptr<ITokenStorage> Storage = Lib->GetDatabaseFile()->GetTokenStorage();
    std::shared_ptr<ITokenGroup> Root = Storage->GetRootGroup();
    std::shared_ptr<IOperationHistory> History = Lib->GetOperationHistory();

    std::shared_ptr<IToken> AddToken(const std::shared_ptr<ITokenGroup>& group,
                                     const QString& title,
                                     const QString& userName = QStringLiteral("user"),
                                     const QString& password = QStringLiteral("secret"),
                                     const QString& url = QString(),
                                     const QString& notes = QString(),
                                     std::shared_ptr<ITokenCustomProperties> properties = nullptr)
    {
        auto operation = group->CreateAddTokenOperation(
            title, userName, password, url, notes, false, QDateTime::currentDateTime(), false,
            properties ? properties : Lib->GetObjectFactory()->CreateCustomProperties(),
            Lib->GetObjectFactory()->CreateWebSitesDBAutoLoginInfo());
        History->Execute(operation);
        return operation->GetResult();
    }

    std::shared_ptr<ITokenGroup> AddGroup(const std::shared_ptr<ITokenGroup>& parent,
                                          const QString& title)
    {
        auto operation = parent->CreateAddGroupOperation(
            title, false, QDateTime::currentDateTime(),
            Lib->GetObjectFactory()->CreateCustomPropertiesTemplate());
        History->Execute(operation);
        return operation->GetResult();
    }

    std::shared_ptr<IToken> Edited(const std::shared_ptr<IToken>& token,
                                   const std::function<void(IToken&)>& edit)
    {
        auto copy = token->GetCloner()->Clone();
        edit(*copy);
        return copy;
    }

    std::shared_ptr<IToken> Token(const QString& title)
    {
        for (const auto& token : Root->GetAllTokens())
            if (token->GetTitle() == title)
                return token;
        return nullptr;
    }

    std::shared_ptr<ITokenGroup> Group(const QString& title)
    {
        for (const auto& group : Root->GetAllGroups())
            if (group->GetTitle() == title)
                return group;
        return nullptr;
    }
};

inline QString DumpProperties(const QList<TTokenCustomProperty>& properties)
{
    QStringList items;
    for (const auto& property : properties)
        items << property.GetName() + u'=' + property.GetValue();
    return u'{' + items.join(u',') + u'}';
}

inline QString DumpHistory(ITokenHistory& history)
{
    QStringList entries;
    for (const auto& entry : history.GetEntries()) {
        QStringList fields{QString::number(int(entry.Kind)),
                           QString::number(entry.DateTime.toMSecsSinceEpoch())};
        for (const auto* snapshot : {&entry.First, &entry.Second}) {
            for (const auto* value : {&snapshot->Title, &snapshot->UserName, &snapshot->Password,
                                      &snapshot->URL, &snapshot->Notes})
                fields << (value->GetHasValue() ? value->GetValue() : QStringLiteral("-"));
            fields << DumpProperties(snapshot->CustomProperties);
        }
        entries << fields.join(u'|');
    }
    return u'{' + entries.join(u';') + u'}';
}

inline QString DumpAutoLogin(IAutoLoginInfo& login)
{
    return QStringList{QString::number(login.GetUseWebSitesDB()),
                       login.GetLoginURL(),
                       QString::number(login.GetForceRedirect()),
                       QString::number(login.GetAnalyzeAutomatically()),
                       login.GetUserNameElement().ID,
                       login.GetUserNameElement().Name,
                       login.GetPasswordElement().ID,
                       login.GetPasswordElement().Name,
                       QString::number(login.GetWebFormIndex())}
        .join(u',');
}

inline QString DumpDates(bool modified, const QDateTime& created, const QDateTime& modification,
                         bool expires, const QDateTime& expiration)
{
    return QStringList{QString::number(modified), QString::number(created.toMSecsSinceEpoch()),
                       QString::number(modification.toMSecsSinceEpoch()), QString::number(expires),
                       QString::number(expiration.toMSecsSinceEpoch())}
        .join(u'/');
}

inline QString DumpToken(IToken& token)
{
    QList<TTokenCustomProperty> properties;
    auto custom = token.GetCustomProperties();
    for (int i = 0; i < custom->GetCount(); ++i)
        properties << custom->GetItem(i);
    return u"T[" +
           QStringList{token.GetID().toString(),
                       token.GetTitle(),
                       token.GetUserName(),
                       token.GetPassword(),
                       token.GetURL(),
                       token.GetNotes(),
                       DumpProperties(properties),
                       DumpHistory(*token.GetHistory()),
                       DumpDates(token.GetModified(), token.GetCreationDate(),
                                 token.GetModificationDate(), token.GetExpires(),
                                 token.GetExpirationDate()),
                       QString::number(token.GetUseManualAutoLogin()),
                       DumpAutoLogin(*token.GetAutoLoginInfo())}
               .join(u' ') +
           u']';
}

// The whole tree with IDs and values, to compare states.
inline QString Dump(ITokenGroup& group)
{
    QString text = u"G[" +
                   QStringList{group.GetID().toString(), group.GetTitle(),
                               DumpDates(group.GetModified(), group.GetCreationDate(),
                                         group.GetModificationDate(), group.GetExpires(),
                                         group.GetExpirationDate()),
                               group.GetCustomPropertiesTemplate()->GetNames().join(u',')}
                       .join(u' ') +
                   u"](";
    for (const auto& token : group.GetTokens())
        text += DumpToken(*token);
    for (const auto& child : group.GetGroups())
        text += Dump(*child);
    return text + u')';
}

inline QStringList Titles(const ITokenList& tokens)
{
    QStringList titles;
    for (const auto& token : tokens)
        titles << token->GetTitle();
    return titles;
}

inline QStringList Titles(const ITokenGroupList& groups)
{
    QStringList titles;
    for (const auto& group : groups)
        titles << group->GetTitle();
    return titles;
}

// A small database: root holds "Mail" and group A; A holds "Bank" and group B;
// B holds "Shop".
inline void Populate(TFixture& f)
{
    f.Root->SetTitle(QStringLiteral("Db"));
    f.AddToken(f.Root, QStringLiteral("Mail"), QStringLiteral("alice"), QStringLiteral("pw1"),
               QStringLiteral("https://mail.example"));
    auto a = f.AddGroup(f.Root, QStringLiteral("A"));
    f.AddToken(a, QStringLiteral("Bank"), QStringLiteral("bob"), QStringLiteral("pw2"));
    auto b = f.AddGroup(a, QStringLiteral("B"));
    auto properties = f.Lib->GetObjectFactory()->CreateCustomProperties();
    properties->Add(QStringLiteral("PIN"), QStringLiteral("4711"));
    f.AddToken(b, QStringLiteral("Shop"), QStringLiteral("carol"), QStringLiteral("pw3"), QString(),
               QStringLiteral("Größe"), properties);
    f.History->Clear();
}

} // namespace TestData
