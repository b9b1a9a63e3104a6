#pragma once
// The storage and converter libraries, loaded with the program's loader on
// first use. The converters are released before the storage library whose
// object factory they hold.

#include "Components.InterfacedLibLoader.h"
#include "ConvertLib.Interfaces.h"
#include "LockwynLib.Interfaces.h"

#include <optional>

template <typename T> class TCliLibraryConnection : public TInterfacedLibLoader<T>
{
public:
    explicit TCliLibraryConnection(const QString& baseName) : FBaseName(baseName) { this->Load(); }

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

class TCliLibraries
{
public:
    Lockwyn::ILockwyn& Lockwyn();
    Lockwyn::IEximConvertersList& Converters();

private:
    std::optional<TCliLibraryConnection<Lockwyn::ILockwyn>> FLockwyn;
    std::optional<TCliLibraryConnection<Lockwyn::IEximConvertersList>> FConverters;
};
