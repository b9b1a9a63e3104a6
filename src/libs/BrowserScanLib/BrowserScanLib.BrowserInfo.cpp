#include "BrowserScanLib.BrowserInfo.h"

#include "BrowserScanLib.AppIcon.h"

namespace Lockwyn {

TBrowserInfo::TBrowserInfo(const Platform::TInstalledBrowser& browser)
    : FBrowser(browser), FIcon(std::make_shared<TAppIcon>(browser.Icon))
{
}

QString TBrowserInfo::GetName()
{
    return FBrowser.Name;
}

QString TBrowserInfo::GetPath()
{
    return FBrowser.Path;
}

std::shared_ptr<IAppIcon> TBrowserInfo::GetIcon()
{
    return FIcon;
}

bool TBrowserInfo::IsSameBrowser(const std::shared_ptr<IBrowserInfo>& other)
{
    return other && Platform::IsSameProgramFile(FBrowser.ResolvedPath,
                                                Platform::ResolvedProgramPath(other->GetPath()));
}

} // namespace Lockwyn
