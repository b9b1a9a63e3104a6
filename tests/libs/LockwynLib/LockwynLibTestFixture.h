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

inline QString DumpHistory(ITokenHistory& history)
{
    QStringList entries;
    for (const auto& entry : history.GetEntries()) {
        QStringList fields;
        for (const auto* snapshot : {&entry.First, &entry.Second})
            for (const auto* value : {&snapshot->Title, &snapshot->UserName, &snapshot->Password,
                                      &snapshot->URL, &snapshot->Notes})
                fields << (value->GetHasValue() ? value->GetValue() : QStringLiteral("-"));
        entries << QStringLiteral("%1@%2:%3/%4")
                       .arg(int(entry.Kind))
                       .arg(entry.DateTime.toMSecsSinceEpoch())
                       .arg(fields.join(u'|'))
                       .arg(entry.First.CustomProperties.size() +
                            entry.Second.CustomProperties.size());
    }
    return entries.join(u';');
}

inline QString DumpToken(IToken& token)
{
    QStringList properties;
    auto custom = token.GetCustomProperties();
    for (int i = 0; i < custom->GetCount(); ++i)
        properties << custom->GetItem(i).GetName() + u'=' + custom->GetItem(i).GetValue();
    auto login = token.GetAutoLoginInfo();
    return QStringLiteral("T[%1 %2 %3 %4 %5 %6 {%7} h{%8} m%9 c%10 x%11/%12 al%13,%14,%15,%16]")
        .arg(token.GetID().toString(), token.GetTitle(), token.GetUserName(), token.GetPassword(),
             token.GetURL(), token.GetNotes(), properties.join(u','),
             DumpHistory(*token.GetHistory()))
        .arg(token.GetModified())
        .arg(token.GetCreationDate().toMSecsSinceEpoch())
        .arg(token.GetExpires())
        .arg(token.GetExpirationDate().toMSecsSinceEpoch())
        .arg(token.GetUseManualAutoLogin())
        .arg(login->GetUseWebSitesDB())
        .arg(login->GetLoginURL() + login->GetPasswordElement().Name)
        .arg(login->GetWebFormIndex());
}

// The whole tree with IDs and values, to compare states.
inline QString Dump(ITokenGroup& group)
{
    QString text = QStringLiteral("G[%1 %2 e%3 {%4}](")
                       .arg(group.GetID().toString(), group.GetTitle())
                       .arg(group.GetExpires())
                       .arg(group.GetCustomPropertiesTemplate()->GetNames().join(u','));
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
