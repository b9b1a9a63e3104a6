#include "Lockwyn.WebLogin.h"

#include "Components.URLOpenUtil.h"
#include "Lockwyn.Settings.h"
#include "Orvanta.Types.Url.h"

#include "BrowserScanLib.Interfaces.h"

using namespace Lockwyn;

namespace {

TWebLoginRequest FromTokenSettings(const QString& tokenUrl, const TAutoLoginValues& record)
{
    TWebLoginRequest request;
    request.StartUrl = gUrl.VerifyUrl(record.LoginURL) ? record.LoginURL : tokenUrl;
    if (record.ForceRedirect && gUrl.VerifyUrl(tokenUrl) && tokenUrl != request.StartUrl)
        request.RedirectUrl = tokenUrl;
    request.Fields.LoginFormIndex = record.WebFormIndex;
    request.Fields.LoginFieldInfo = {0, record.UserNameElement.ID, record.UserNameElement.Name};
    request.Fields.PasswordFieldInfo = {0, record.PasswordElement.ID, record.PasswordElement.Name};
    return request;
}

TWebLoginRequest FromCatalogue(IWebSiteEntry& entry)
{
    TWebLoginRequest request;
    request.StartUrl = entry.GetLoginURL();
    if (entry.GetForceRedirect())
        request.RedirectUrl = entry.GetURL();
    const std::int32_t form = entry.GetFormIndex();
    request.Fields.LoginFormIndex = form;
    request.Fields.LoginFieldInfo = {form, entry.GetUserNameElementID(),
                                     entry.GetUserNameElementName()};
    request.Fields.PasswordFieldInfo = {form, entry.GetPasswordElementID(),
                                        entry.GetPasswordElementName()};
    return request;
}

} // namespace

TWebLoginRequest BuildWebLoginRequest(const QString& tokenUrl, bool useManualAutoLogin,
                                      const TAutoLoginValues& record, IWebSiteEntry* entry)
{
    if (useManualAutoLogin || !entry)
        return FromTokenSettings(tokenUrl, record);
    return FromCatalogue(*entry);
}

std::shared_ptr<IWebAutoLoginSession>
StartWebLogin(IToken& token, bool submit, IWebSitesDB& catalogue, IWebAutoLogin& autoLogin)
{
    const QString url = token.GetURL();
    const std::shared_ptr<IWebSitesList> sites = catalogue.GetWebSites();
    const std::shared_ptr<IWebSiteEntry> entry = sites ? sites->FindWebSite(url) : nullptr;
    const TWebLoginRequest request = BuildWebLoginRequest(
        url, token.GetUseManualAutoLogin(), AutoLoginValues(token.GetAutoLoginInfo()), entry.get());
    return autoLogin.StartLoginSession(request.StartUrl, request.RedirectUrl, token.GetUserName(),
                                       token.GetPassword(), submit, request.Fields);
}

void ApplyBrowserChoice(const TLockwynGUISettings& settings, TURLOpenUtilBase& opener,
                        IWebAutoLogin& autoLogin)
{
    opener.SetUseDefaultBrowser(settings.UseDefaultBrowser());
    autoLogin.SetUseDefaultBrowser(settings.UseDefaultBrowser());
    if (const std::shared_ptr<IBrowserInfo> browser = settings.GetSelectedBrowser()) {
        opener.SetBrowserPath(browser->GetPath());
        autoLogin.SetBrowserPath(browser->GetPath());
    }
}

void RefreshWebSitesCatalogue(IWebSitesDB& catalogue, const QString& dataFolder,
                              const QUrl& productSite)
{
    catalogue.SetLocalFileName(dataFolder + QStringLiteral("/websites.xml"));
    catalogue.SetDownloadURL(
        productSite.resolved(QUrl(QStringLiteral("files/lockwyn/websites.xml"))).toString());
    catalogue.SetHashURL(
        productSite.resolved(QUrl(QStringLiteral("files/lockwyn/hash"))).toString());
    catalogue.Update();
}
