#pragma once
// Root interface of UrlRegistryLib: the web-site catalogue. Its operations are declared here as the
// program comes to use them.

namespace Lockwyn {

class IWebSitesDB
{
public:
    virtual ~IWebSitesDB() = default;
};

} // namespace Lockwyn
