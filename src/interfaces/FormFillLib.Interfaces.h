#pragma once
// Root interface of FormFillLib: web auto-login through a browser. Its operations are declared here as the
// program comes to use them.

namespace Lockwyn {

class IWebAutoLogin
{
public:
    virtual ~IWebAutoLogin() = default;
};

} // namespace Lockwyn
