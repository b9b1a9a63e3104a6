#pragma once
// The browser profile of Lockwyn's own, one per browser in the data folder,
// so that sites keep the user logged in between uses. The user's own browser
// profile is never used.

#include <QString>

namespace Lockwyn {

QString BrowserProfileFolder(const QString& dataFolder, const QString& browserKey);

// Creates the profile folder (readable by the user only) and switches off
// the browser's password saving and autofill in its preferences, which it
// reads at launch; for a profile no browser uses. False, with the reason in
// error, when that failed.
bool PrepareBrowserProfile(const QString& profileFolder, QString* error);

// Deletes what the browser keeps to restore its tabs, which holds the state
// of forms, filled-in user names among it; for a profile no browser uses.
void ForgetBrowserSessions(const QString& profileFolder);

} // namespace Lockwyn
