#include "BrowserScanLib.AppEnumerator.h"

#include "BrowserScanLib.BrowserList.h"

namespace Lockwyn {

TAppEnumerator::TAppEnumerator() : FBrowsers(std::make_shared<TBrowserList>()) {}

std::shared_ptr<IBrowserList> TAppEnumerator::GetBrowsers()
{
    return FBrowsers;
}

} // namespace Lockwyn
