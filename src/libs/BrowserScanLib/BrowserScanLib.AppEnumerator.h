#pragma once
// The library's root object.

#include "BrowserScanLib.Interfaces.h"

namespace Lockwyn {

class TAppEnumerator final : public IAppEnumerator
{
public:
    TAppEnumerator();
    std::shared_ptr<IBrowserList> GetBrowsers() override;

private:
    std::shared_ptr<IBrowserList> FBrowsers;
};

} // namespace Lockwyn
