#pragma once
// The program's side of web auto-login: what a login request asks of the
// browser, which browser the URL opener and the library use, and where the
// web-sites catalogue comes from.

#include <QString>
#include <QUrl>

#include "FormFillLib.Interfaces.h"
#include "UrlRegistryLib.Interfaces.h"

class TLockwynGUISettings;
class TURLOpenUtilBase;

struct TWebLoginRequest
{
    QString StartUrl;
    // Opened after a submitted login; empty for none.
    QString RedirectUrl;
    Lockwyn::TWebFormLoginFieldsInfo Fields;
    bool operator==(const TWebLoginRequest&) const = default;
};

// From the token's own settings when it asks for them or the catalogue has no
// entry (entry nil), else from the catalogue's entry.
TWebLoginRequest BuildWebLoginRequest(const QString& tokenUrl, bool useManualAutoLogin,
                                      const Lockwyn::TAutoLoginValues& record,
                                      Lockwyn::IWebSiteEntry* entry);

// Opens the token's site in the browser, fills in its user name and password
// and, with submit, sends the form. The session runs on by itself.
std::shared_ptr<Lockwyn::IWebAutoLoginSession> StartWebLogin(Lockwyn::IToken& token, bool submit,
                                                             Lockwyn::IWebSitesDB& catalogue,
                                                             Lockwyn::IWebAutoLogin& autoLogin);

// The browser the settings choose, for the URL opener and the library.
void ApplyBrowserChoice(const TLockwynGUISettings& settings, TURLOpenUtilBase& opener,
                        Lockwyn::IWebAutoLogin& autoLogin);

// The catalogue is kept in dataFolder and refreshed from the product's site,
// in the background.
void RefreshWebSitesCatalogue(Lockwyn::IWebSitesDB& catalogue, const QString& dataFolder,
                              const QUrl& productSite);
