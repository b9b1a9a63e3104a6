#include "BrowserScanLib.BrowserList.h"

#include <algorithm>

#include "BrowserScanLib.BrowserInfo.h"
#include "Platform.InstalledBrowsers.h"

namespace Lockwyn {

TBrowserItems::TBrowserItems(QList<std::shared_ptr<IBrowserInfo>> items) : FItems(std::move(items))
{
}

int TBrowserItems::Count()
{
    return int(FItems.size());
}

std::shared_ptr<IBrowserInfo> TBrowserItems::Items(int index)
{
    return index >= 0 && index < FItems.size() ? FItems[index] : nullptr;
}

void TBrowserList::Refresh()
{
    QList<Platform::TInstalledBrowser> installed = Platform::InstalledBrowsers();
    std::sort(installed.begin(), installed.end(),
              [](const Platform::TInstalledBrowser& a, const Platform::TInstalledBrowser& b) {
                  const int byName = a.Name.compare(b.Name, Qt::CaseInsensitive);
                  return byName != 0 ? byName < 0 : a.Path < b.Path;
              });
    QList<std::shared_ptr<IBrowserInfo>> items;
    for (const Platform::TInstalledBrowser& browser : std::as_const(installed))
        items << std::make_shared<TBrowserInfo>(browser);
    FItems = std::make_shared<TBrowserItems>(std::move(items));
    const std::optional<Platform::TInstalledBrowser> defaultBrowser = Platform::DefaultBrowser();
    FDefaultBrowser = defaultBrowser ? std::make_shared<TBrowserInfo>(*defaultBrowser) : nullptr;
}

std::shared_ptr<IBrowserInfo> TBrowserList::GetDefaultBrowser()
{
    ScanOnce();
    return FDefaultBrowser;
}

std::shared_ptr<IBrowserItems> TBrowserList::GetItems()
{
    ScanOnce();
    return FItems;
}

void TBrowserList::ScanOnce()
{
    if (!FItems)
        Refresh();
}

} // namespace Lockwyn
