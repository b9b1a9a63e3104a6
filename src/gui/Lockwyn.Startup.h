#pragma once
// What the program entry does around the main window: the objects every part
// needs first, the settings and language, and the orderly end.

namespace Lockwyn {

// The string table and the settings object. Creating the settings loads the
// storage library, so a missing library throws here, before any window.
void InitializeGlobals();

// Reads the settings file of the data folder and switches the language.
void LoadSettingsAndLanguage();

// Frees the settings, the library connections and the single-instance guard.
void FinalizeGlobals();

} // namespace Lockwyn
