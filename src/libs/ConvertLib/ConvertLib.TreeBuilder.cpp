#include "ConvertLib.TreeBuilder.h"

namespace Lockwyn {

namespace {

std::shared_ptr<IAutoLoginInfo> BuildAutoLogin(const TAutoLoginValues& record,
                                               IObjectFactory& factory)
{
    if (record.UseWebSitesDB)
        return factory.CreateWebSitesDBAutoLoginInfo();
    return factory.CreateManualAutoLoginInfo(record.LoginURL, record.ForceRedirect,
                                             record.AnalyzeAutomatically, record.UserNameElement,
                                             record.PasswordElement, record.WebFormIndex);
}

// The record's dates where it has them; a modification date equal to the
// creation date means never changed.
template <typename T> void SetDates(T& object, const QDateTime& created, const QDateTime& modified)
{
    if (created.isValid())
        object.SetCreationDate(created);
    if (modified.isValid() && modified != object.GetCreationDate())
        object.SetModificationDate(modified);
}

std::shared_ptr<IToken> BuildToken(const TTokenRecord& record, IObjectFactory& factory)
{
    auto token = factory.CreateToken();
    token->SetTitle(record.Title);
    token->SetUserName(record.UserName);
    token->SetPassword(record.Password);
    token->SetURL(record.URL);
    token->SetNotes(record.Notes);
    token->SetExpires(record.Expires);
    if (record.ExpirationDate.isValid())
        token->SetExpirationDate(record.ExpirationDate);
    const auto properties = token->GetCustomProperties();
    for (const auto& property : record.CustomProperties)
        properties->SetValue(property.GetName(), property.GetValue());
    if (!record.History.isEmpty())
        token->GetHistory()->Assign(factory.CreateTokenHistory(record.History));
    token->SetUseManualAutoLogin(record.UseManualAutoLogin);
    if (record.AutoLogin)
        token->SetAutoLoginInfo(BuildAutoLogin(*record.AutoLogin, factory));
    SetDates(*token, record.CreationDate, record.ModificationDate);
    return token;
}

} // namespace

std::shared_ptr<ITokenGroup> BuildTree(const TGroupRecord& record, IObjectFactory& factory)
{
    auto group = factory.CreateTokenGroup();
    group->SetTitle(record.Title);
    SetDates(*group, record.CreationDate, record.ModificationDate);
    group->SetExpires(record.Expires);
    if (record.ExpirationDate.isValid())
        group->SetExpirationDate(record.ExpirationDate);
    const auto templ = group->GetCustomPropertiesTemplate();
    for (const auto& name : record.Template)
        if (!templ->Exists(name))
            templ->Add(name);
    for (const auto& token : record.Tokens)
        group->AppendToken(BuildToken(token, factory));
    for (const auto& child : record.Groups)
        group->AppendGroup(BuildTree(child, factory));
    return group;
}

} // namespace Lockwyn
