#pragma once
// Random passwords from libsodium's random source. Every chosen character
// class appears at least once when the length allows; no class chosen means
// lower-case letters.

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

class TPasswordGenerator : public IPasswordGenerator
{
public:
    // Longer requests are cut to this length.
    static constexpr int MaxLength = 4096;

    TPasswordGenerator();
    QString GeneratePassword(const TPasswordGeneratorSettings& settings) override;
    // 20 characters of upper and lower case letters, digits, minus and underline.
    TPasswordGeneratorSettings GetDefaultSettings() override;

    // The characters of one class.
    static QString CharacterClass(TPasswordGeneratorCharOption option);
};

} // namespace Lockwyn
