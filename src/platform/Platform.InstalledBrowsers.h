#pragma once
// The web browsers installed for the user and the one the system opens web
// addresses with. Linux reads the freedesktop application entries that handle
// https addresses; Windows reads the registry's start-menu browsers.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace Platform {

struct TInstalledBrowser
{
    // The system's name of the entry ("chromium.desktop", the registry key).
    QString Id;
    // In the user's language where the entry has it.
    QString Name;
    // The absolute program file that starts the browser.
    QString Path;
    // Path with links resolved: two entries with the same resolved path are
    // the same browser.
    QString ResolvedPath;
    // An icon theme name, or the absolute name of an image or program file.
    QString Icon;
};

// In the system's order; entries that are hidden, or whose program is
// missing, are left out.
QList<TInstalledBrowser> InstalledBrowsers();

// The browser the system opens https addresses with; none when the system
// names none or names one that is not installed.
std::optional<TInstalledBrowser> DefaultBrowser();

// Opens an http(s) address in the browser of the program file, or with the
// system's handler when there is none; the browser runs on by itself. False
// when it could not be started.
bool OpenWebAddress(const QString& browserPath, const QUrl& url);

// The image files of an icon that the icon theme names, from the freedesktop
// fallback theme and pixmap folders; for when the toolkit's icon theme does
// not know the name. Empty where icons are not named.
QStringList ThemeIconFiles(const QString& iconName);

// A program path with links resolved, as in TInstalledBrowser::ResolvedPath.
QString ResolvedProgramPath(const QString& path);

// Whether two resolved program paths name the same file (without regard to
// case where the file system ignores it).
bool IsSameProgramFile(const QString& resolvedPath, const QString& otherResolvedPath);

} // namespace Platform
