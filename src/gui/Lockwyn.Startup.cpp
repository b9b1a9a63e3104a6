#include "Lockwyn.Startup.h"

#include "Lockwyn.App.Singleton.h"
#include "Lockwyn.App.h"
#include "Lockwyn.DatabaseTransfer.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

namespace Lockwyn {

void InitializeGlobals()
{
    LocalizedStrings();
    GUISettings();
}

void LoadSettingsAndLanguage()
{
    LockwynApp().LoadSettings();
    LockwynApp().SetLanguage(GUISettings().Language());
}

void FinalizeGlobals()
{
    // The controller holds objects of the storage library.
    ReleaseLockwynApp();
    ReleaseGUISettings();
    DatabaseTransfer::WaitForImportWorkers();
    ReleaseLibraryConnections();
    TAppSingleton::Release();
}

} // namespace Lockwyn
