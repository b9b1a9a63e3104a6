// The library's one export.

#include "Platform.Paths.h"
#include "UrlRegistryLib.WebSitesDB.h"

extern "C" Q_DECL_EXPORT void GetInstance(std::shared_ptr<Lockwyn::IWebSitesDB>* out)
{
    if (!out)
        return;
    try {
        *out = std::make_shared<Lockwyn::TWebSitesDB>(Platform::ExecutableDir() +
                                                      QStringLiteral("/websites.xml"));
    } catch (...) {
        out->reset();
    }
}
