// The library's one export.

#include "BrowserScanLib.AppEnumerator.h"

extern "C" Q_DECL_EXPORT void GetInstance(std::shared_ptr<Lockwyn::IAppEnumerator>* out)
{
    if (!out)
        return;
    try {
        *out = std::make_shared<Lockwyn::TAppEnumerator>();
    } catch (...) {
        out->reset();
    }
}
