#pragma once
// Loads the built storage and converter libraries through the program's loader
// and connects them as the program does.

#include "Components.CompanionLibLoader.h"
#include "ConvertLib.Interfaces.h"
#include "LockwynLib.Interfaces.h"

struct TConvertLibTestLibraries
{
    TCompanionLibLoader<Lockwyn::ILockwyn> Storage{QStringLiteral("LockwynLib")};
    TCompanionLibLoader<Lockwyn::IEximConvertersList> Converters{QStringLiteral("ConvertLib")};

    TConvertLibTestLibraries()
    {
        Converters.MainInterface()->SetObjectFactory(Storage.MainInterface()->GetObjectFactory());
    }
};
