#include "Lockwyn.Startup.h"

#include "Lockwyn.App.Singleton.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Localizer.h"
#include "Lockwyn.Settings.h"
#include "Platform.Paths.h"

namespace Lockwyn {

void InitializeGlobals()
{
    LocalizedStrings();
    GUISettings();
}

void LoadSettingsAndLanguage()
{
    GUISettings().SetFileName(Platform::DataFolder() + QStringLiteral("/lockwyn.settings.xml"));
    GUISettings().Load();
    Localizer().SetLanguage(GUISettings().Language());
}

void FinalizeGlobals()
{
    ReleaseGUISettings();
    ReleaseLibraryConnections();
    TAppSingleton::Release();
}

} // namespace Lockwyn
