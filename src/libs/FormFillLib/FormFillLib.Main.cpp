// The library's one export.

#include "FormFillLib.WebAutoLogin.h"
#include "Platform.Paths.h"

extern "C" Q_DECL_EXPORT void GetInstance(std::shared_ptr<Lockwyn::IWebAutoLogin>* out)
{
    if (!out)
        return;
    try {
        *out = std::make_shared<Lockwyn::TWebAutoLogin>(
            Lockwyn::TWebAutoLoginOptions{Platform::DataFolder(), false});
    } catch (...) {
        out->reset();
    }
}
