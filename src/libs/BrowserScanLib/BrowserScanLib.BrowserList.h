#pragma once
// The installed browsers as last scanned, and the default one.

#include <QList>

#include <optional>

#include "BrowserScanLib.Interfaces.h"

namespace Lockwyn {

class TBrowserItems final : public IBrowserItems
{
public:
    explicit TBrowserItems(QList<std::shared_ptr<IBrowserInfo>> items);

    int Count() override;
    std::shared_ptr<IBrowserInfo> Items(int index) override;

private:
    QList<std::shared_ptr<IBrowserInfo>> FItems;
};

class TBrowserList final : public IBrowserList
{
public:
    void Refresh() override;
    std::shared_ptr<IBrowserInfo> GetDefaultBrowser() override;
    std::shared_ptr<IBrowserItems> GetItems() override;

private:
    void ScanOnce();

    std::shared_ptr<IBrowserItems> FItems;
    std::shared_ptr<IBrowserInfo> FDefaultBrowser;
};

} // namespace Lockwyn
