#pragma once
// Makes sure one copy of the program runs per user.

#include <QString>

#include <memory>

namespace Platform {
class TSingleInstanceGuard;
}

class TAppSingleton
{
public:
    // Claims the instance name built from "OrvantaApp%s" and the given name
    // (the program file's name when empty). Returns false when another copy
    // runs: it has been sent the instance message and this copy should end.
    static bool Init(const QString& name);
    static void Release();
    static QString InstanceName(const QString& name);

private:
    static std::unique_ptr<Platform::TSingleInstanceGuard>& Guard();
};
