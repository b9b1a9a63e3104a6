#pragma once

#include <QString>

namespace Platform {

// Folder of the running program file; valid before QCoreApplication exists.
QString ExecutableDir();

// Full name of the running program file.
QString ExecutableFilePath();

// The user's per-application data folder ("Orvanta Lockwyn" under the roaming
// application data on Windows, under $XDG_CONFIG_HOME or ~/.config on Linux),
// created with its parents for the user alone. LOCKWYN_DATA_DIR overrides it.
// Ends without a slash.
QString DataFolder();

} // namespace Platform
