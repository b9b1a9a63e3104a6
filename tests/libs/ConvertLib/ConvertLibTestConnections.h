#pragma once
// Loads the built storage and converter libraries through the program's loader
// and connects them as the program does.

#include "Components.InterfacedLibLoader.h"
#include "ConvertLib.Interfaces.h"
#include "LockwynLib.Interfaces.h"

template <typename T> class TTestConnection : public TInterfacedLibLoader<T>
{
public:
    explicit TTestConnection(const QString& baseName) : FBaseName(baseName) { this->Load(); }

protected:
    QString GetLibraryFileName() const override
    {
#ifdef Q_OS_WIN
        return FBaseName + QStringLiteral(".dll");
#else
        return FBaseName + QStringLiteral(".so");
#endif
    }

private:
    QString FBaseName;
};

struct TConvertLibTestLibraries
{
    TTestConnection<Lockwyn::ILockwyn> Storage{QStringLiteral("LockwynLib")};
    TTestConnection<Lockwyn::IEximConvertersList> Converters{QStringLiteral("ConvertLib")};

    TConvertLibTestLibraries()
    {
        Converters.MainInterface()->SetObjectFactory(Storage.MainInterface()->GetObjectFactory());
    }
};
