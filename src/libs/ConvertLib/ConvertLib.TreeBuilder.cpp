#include "ConvertLib.TreeBuilder.h"

#include "ConvertLib.ImportedTree.h"
#include "ConvertLib.RecordedHistory.h"

namespace Lockwyn {

namespace {

std::shared_ptr<IAutoLoginInfo> BuildAutoLogin(const TAutoLoginRecord& record,
                                               IObjectFactory& factory)
{
    if (record.UseWebSitesDB)
        return factory.CreateWebSitesDBAutoLoginInfo();
    return factory.CreateManualAutoLoginInfo(record.LoginURL, record.ForceRedirect,
                                             record.AnalyzeAutomatically, record.UserNameElement,
                                             record.PasswordElement, record.WebFormIndex);
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
        token->GetHistory()->Assign(std::make_shared<TRecordedHistory>(record.History));
    token->SetUseManualAutoLogin(record.UseManualAutoLogin);
    if (record.AutoLogin)
        token->SetAutoLoginInfo(BuildAutoLogin(*record.AutoLogin, factory));
    return std::make_shared<TImportedToken>(
        token, TImportedDates{record.CreationDate, record.ModificationDate});
}

} // namespace

std::shared_ptr<ITokenGroup> BuildTree(const TGroupRecord& record, IObjectFactory& factory)
{
    auto group = std::make_shared<TImportedGroup>(
        factory.CreateTokenGroup(), TImportedDates{record.CreationDate, record.ModificationDate});
    group->SetTitle(record.Title);
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
