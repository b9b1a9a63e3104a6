#pragma once
// The sites of a catalogue, found by the host of an address.

#include <QHash>

#include "UrlRegistryLib.Catalogue.h"

namespace Lockwyn {

class TWebSitesList final : public IWebSitesList
{
public:
    TWebSitesList() = default;
    explicit TWebSitesList(const TWebSiteCatalogue& catalogue);

    std::shared_ptr<IWebSiteEntry> FindWebSite(const QString& url) override;

    qint64 Revision() const { return FRevision; }
    int Count() const { return int(FSites.size()); }

private:
    qint64 FRevision = 0;
    // By host without "www."; the first site of a host wins.
    QHash<QString, std::shared_ptr<IWebSiteEntry>> FSites;
};

} // namespace Lockwyn
