// The library's one export.

#include "LockwynLib.Lockwyn.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT void GetInstance(std::shared_ptr<Lockwyn::ILockwyn>* out)
{
    if (!out)
        return;
    try {
        *out = std::make_shared<Lockwyn::TLockwyn>();
    } catch (...) {
        out->reset();
    }
}
