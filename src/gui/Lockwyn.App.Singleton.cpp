#include "Lockwyn.App.Singleton.h"

#include <QFileInfo>

#include "Lockwyn.Format.h"
#include "Platform.Paths.h"
#include "Platform.SingleInstance.h"

QString TAppSingleton::InstanceName(const QString& name)
{
    const QString used =
        name.isEmpty() ? QFileInfo(Platform::ExecutableFilePath()).fileName() : name;
    return Lockwyn::Format(QStringLiteral("OrvantaApp%s"), used);
}

bool TAppSingleton::Init(const QString& name)
{
    Guard() = Platform::TSingleInstanceGuard::Claim(InstanceName(name));
    return Guard() != nullptr;
}

void TAppSingleton::Release()
{
    Guard().reset();
}

std::unique_ptr<Platform::TSingleInstanceGuard>& TAppSingleton::Guard()
{
    static std::unique_ptr<Platform::TSingleInstanceGuard> guard;
    return guard;
}
