#pragma once
// One installed browser.

#include "BrowserScanLib.Interfaces.h"
#include "Platform.InstalledBrowsers.h"

namespace Lockwyn {

class TBrowserInfo final : public IBrowserInfo
{
public:
    explicit TBrowserInfo(const Platform::TInstalledBrowser& browser);

    QString GetName() override;
    QString GetPath() override;
    std::shared_ptr<IAppIcon> GetIcon() override;
    bool IsSameBrowser(const std::shared_ptr<IBrowserInfo>& other) override;

private:
    Platform::TInstalledBrowser FBrowser;
    std::shared_ptr<IAppIcon> FIcon;
};

} // namespace Lockwyn
