#pragma once
// A user's desktop made up in a temporary folder: freedesktop application
// entries, the programs they start, icons and the mimeapps.list defaults.
// While the object lives, the XDG variables (and PATH, LANG) point into it,
// so the system's own applications are out of sight.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

class TDesktopTestFixture
{
public:
    TDesktopTestFixture();
    ~TDesktopTestFixture();
    TDesktopTestFixture(const TDesktopTestFixture&) = delete;
    TDesktopTestFixture& operator=(const TDesktopTestFixture&) = delete;

    QString Path(const QString& relative) const;
    // User folders: XDG_DATA_HOME, XDG_CONFIG_HOME; system: the only entry of
    // XDG_DATA_DIRS; programs: the only entry of PATH.
    QString DataHome() const { return Path(QStringLiteral("home/share")); }
    QString ConfigHome() const { return Path(QStringLiteral("home/config")); }
    QString SystemData() const { return Path(QStringLiteral("usr/share")); }
    QString Programs() const { return Path(QStringLiteral("usr/bin")); }

    // A shell script that appends its arguments, one a line, to
    // "<name>.opened" beside it. Returns its full name.
    QString AddProgram(const QString& name);
    // An application entry in the user's (or else the system's) folder; a "-"
    // in the ID puts it in a subfolder, as the freedesktop rules allow.
    void AddEntry(const QString& id, const QByteArray& body, bool user = true);
    // A browser entry: [Desktop Entry] with the name, Exec and the https type.
    void AddBrowser(const QString& id, const QString& name, const QString& exec,
                    const QByteArray& extra = {}, bool user = true);
    // A 32 x 32 icon of the fallback theme, in the user's folder.
    QString AddThemeIcon(const QString& name);
    void WriteMimeApps(const QByteArray& body);
    // What the program of AddProgram was started with.
    QStringList OpenedWith(const QString& program) const;

private:
    void SetEnvironment(const char* name, const QByteArray& value);

    QTemporaryDir FRoot;
    QList<QPair<const char*, QByteArray>> FSaved;
};
