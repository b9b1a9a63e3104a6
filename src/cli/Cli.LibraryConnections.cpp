#include "Cli.LibraryConnections.h"

Lockwyn::ILockwyn& TCliLibraries::Lockwyn()
{
    if (!FLockwyn)
        FLockwyn.emplace(QStringLiteral("LockwynLib"));
    return *FLockwyn->MainInterface();
}

Lockwyn::IEximConvertersList& TCliLibraries::Converters()
{
    if (!FConverters) {
        auto& lockwyn = Lockwyn();
        FConverters.emplace(QStringLiteral("ConvertLib"));
        FConverters->MainInterface()->SetObjectFactory(lockwyn.GetObjectFactory());
    }
    return *FConverters->MainInterface();
}
