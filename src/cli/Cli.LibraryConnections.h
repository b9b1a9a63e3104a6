#pragma once
// The storage and converter libraries, loaded with the program's loader on
// first use. The converters are released before the storage library whose
// object factory they hold.

#include "Components.CompanionLibLoader.h"
#include "ConvertLib.Interfaces.h"
#include "LockwynLib.Interfaces.h"

#include <optional>

class TCliLibraries
{
public:
    Lockwyn::ILockwyn& Lockwyn();
    Lockwyn::IEximConvertersList& Converters();

private:
    std::optional<TCompanionLibLoader<Lockwyn::ILockwyn>> FLockwyn;
    std::optional<TCompanionLibLoader<Lockwyn::IEximConvertersList>> FConverters;
};
