#pragma once
// Rates a password with zxcvbn's entropy estimate on a scale of 0 to 100.

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

class TPasswordQualityMeter : public IPasswordQualityMeter
{
public:
    // Estimated bits of entropy that rate 100.
    static constexpr double ExcellentBits = 64.0;

    int GetQuality(const QString& password) override;
};

} // namespace Lockwyn
