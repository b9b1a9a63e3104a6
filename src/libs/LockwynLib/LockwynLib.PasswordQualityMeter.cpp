#include "LockwynLib.PasswordQualityMeter.h"

#include "LockwynLib.SecureMemory.h"

#include <zxcvbn.h>

#include <algorithm>
#include <cmath>

namespace Lockwyn {

int TPasswordQualityMeter::GetQuality(const QString& password)
{
    if (password.isEmpty())
        return 0;
    TSecureBuffer utf8 = TSecureBuffer::FromString(password);
    // zxcvbn reads a NUL-terminated string.
    TSecureBuffer text(utf8.Size() + 1);
    std::copy_n(utf8.Data(), utf8.Size(), text.Data());
    const double bits = ZxcvbnMatch(reinterpret_cast<const char*>(text.Data()), nullptr, nullptr);
    const double quality = std::round(bits * 100.0 / ExcellentBits);
    return int(std::clamp(quality, 0.0, 100.0));
}

} // namespace Lockwyn
