#pragma once
// A companion library named by its base name ("LockwynLib": LockwynLib.so, or
// LockwynLib.dll on Windows), loaded at construction with the loader's own
// error texts. For the command-line program, the tests and the benchmarks,
// which use QtCore only; the program words the errors in its own strings.

#include "Components.InterfacedLibLoader.h"

template <typename T> class TCompanionLibLoader : public TInterfacedLibLoader<T>
{
public:
    explicit TCompanionLibLoader(const QString& baseName) : FBaseName(baseName) { this->Load(); }

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
