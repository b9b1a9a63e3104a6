#pragma once
// Root interface of BrowserScanLib: the installed browsers. Its operations are declared here as the
// program comes to use them.

namespace Lockwyn {

class IAppEnumerator
{
public:
    virtual ~IAppEnumerator() = default;
};

} // namespace Lockwyn
