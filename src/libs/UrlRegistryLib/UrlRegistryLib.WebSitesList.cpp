#include "UrlRegistryLib.WebSitesList.h"

#include <QUrl>

#include "WebCommon.Site.h"

namespace Lockwyn {

namespace {

QString HostKey(const QUrl& url)
{
    QString host = url.host().toLower();
    while (host.endsWith(u'.'))
        host.chop(1);
    if (host.startsWith(QLatin1String("www.")))
        host.remove(0, 4);
    return host;
}

} // namespace

TWebSitesList::TWebSitesList(const TWebSiteCatalogue& catalogue) : FRevision(catalogue.Revision)
{
    for (const std::shared_ptr<TWebSiteEntry>& site : catalogue.Sites) {
        const QString key = HostKey(QUrl(site->GetURL()));
        if (!FSites.contains(key))
            FSites.insert(key, site);
    }
}

// "mail.google.com" finds the site of "mail.google.com", else of "google.com".
std::shared_ptr<IWebSiteEntry> TWebSitesList::FindWebSite(const QString& url)
{
    const QUrl address = QUrl::fromUserInput(url.trimmed());
    if (!Web::IsWebAddress(address))
        return nullptr;
    QString host = HostKey(address);
    while (!host.isEmpty()) {
        if (const std::shared_ptr<IWebSiteEntry> site = FSites.value(host))
            return site;
        const qsizetype dot = host.indexOf(u'.');
        host = dot < 0 ? QString() : host.mid(dot + 1);
    }
    return nullptr;
}

} // namespace Lockwyn
