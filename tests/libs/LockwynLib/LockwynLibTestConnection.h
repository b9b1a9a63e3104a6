#pragma once
// Loads the built LockwynLib through the program's loader, as the program does.

#include "Components.InterfacedLibLoader.h"
#include "LockwynLib.Interfaces.h"

class TLockwynLibTestConnection : public TInterfacedLibLoader<Lockwyn::ILockwyn>
{
public:
    TLockwynLibTestConnection() { Load(); }

protected:
    QString GetLibraryFileName() const override
    {
#ifdef Q_OS_WIN
        return QStringLiteral("LockwynLib.dll");
#else
        return QStringLiteral("LockwynLib.so");
#endif
    }
};
