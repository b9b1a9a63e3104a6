#pragma once
// Root interface of UrlRegistryLib: the catalogue of known web sites with the
// address and the form fields of each site's login page.

#include <QString>

#include <cstdint>
#include <memory>

namespace Lockwyn {

class IWebSiteEntry
{
public:
    virtual ~IWebSiteEntry() = default;
    virtual QString GetTitle() = 0;
    // The site's main address.
    virtual QString GetURL() = 0;
    // Go on to the main address after logging in.
    virtual bool GetForceRedirect() = 0;
    // The login page; always on the same site as the main address.
    virtual QString GetLoginURL() = 0;
    // Index of the login form among the page's forms.
    virtual std::int32_t GetFormIndex() = 0;
    virtual QString GetUserNameElementID() = 0;
    virtual QString GetUserNameElementName() = 0;
    virtual QString GetPasswordElementID() = 0;
    virtual QString GetPasswordElementName() = 0;
};

class IWebSitesList
{
public:
    virtual ~IWebSitesList() = default;
    // The entry of the site the address belongs to (the one naming the
    // longest part of its host), or nil. Addresses without a scheme are read
    // as web addresses ("github.com/login").
    virtual std::shared_ptr<IWebSiteEntry> FindWebSite(const QString& url) = 0;
};

class IWebSitesDB
{
public:
    virtual ~IWebSitesDB() = default;
    // The downloaded catalogue is kept in this file. Until a download
    // succeeds, the catalogue shipped with the program is used (or the newer
    // of the two by revision).
    virtual void SetLocalFileName(const QString& fileName) = 0;
    virtual void SetDownloadURL(const QString& url) = 0;
    // The address of the catalogue's SHA-256, as hexadecimal text.
    virtual void SetHashURL(const QString& url) = 0;
    // Starts bringing the local catalogue up to date and returns at once. The
    // download replaces the local file, atomically, only when it matches the
    // hash and is a valid catalogue; any failure keeps the old one. A call
    // while an update runs does nothing.
    virtual void Update() = 0;
    // The current catalogue; a successful update replaces it. Lists handed
    // out earlier stay as they were.
    virtual std::shared_ptr<IWebSitesList> GetWebSites() = 0;
};

} // namespace Lockwyn
