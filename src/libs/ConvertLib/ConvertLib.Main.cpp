// The library's one export.

#include "ConvertLib.EximConvertersList.h"

extern "C" Q_DECL_EXPORT void GetInstance(std::shared_ptr<Lockwyn::IEximConvertersList>* out)
{
    if (!out)
        return;
    try {
        *out = std::make_shared<Lockwyn::TEximConvertersList>();
    } catch (...) {
        out->reset();
    }
}
