#include "Platform.InstalledBrowsers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

namespace Platform {
namespace {

const QString HttpsHandler = QStringLiteral("x-scheme-handler/https");
const QString DesktopEntryGroup = QStringLiteral("Desktop Entry");
constexpr int XdgSettingsTimeoutMs = 2000;

// A key file (desktop entry, mimeapps.list): raw values by group and key.
using TKeyFileGroup = QHash<QString, QString>;
using TKeyFile = QHash<QString, TKeyFileGroup>;

TKeyFile ReadKeyFile(const QString& fileName)
{
    TKeyFile groups;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return groups;
    TKeyFileGroup* group = nullptr;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = &groups[line.mid(1, line.size() - 2)];
            continue;
        }
        const qsizetype separator = line.indexOf(u'=');
        if (!group || separator <= 0)
            continue;
        const QString key = line.left(separator).trimmed();
        if (!group->contains(key))
            group->insert(key, line.mid(separator + 1).trimmed());
    }
    return groups;
}

// The escapes of a key file's string values.
QString Unescape(const QString& raw)
{
    QString text;
    text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != u'\\' || i + 1 == raw.size()) {
            text += raw[i];
            continue;
        }
        switch (raw[++i].unicode()) {
        case 's':
            text += u' ';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        default:
            text += raw[i];
        }
    }
    return text;
}

QStringList SplitList(const QString& raw)
{
    QStringList items;
    QString current;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\' && i + 1 < raw.size()) {
            if (raw[i + 1] != u';')
                current += raw[i];
            current += raw[++i];
        } else if (raw[i] == u';') {
            items << Unescape(current);
            current.clear();
        } else {
            current += raw[i];
        }
    }
    if (!current.isEmpty())
        items << Unescape(current);
    return items;
}

bool IsTrue(const QString& raw)
{
    return raw.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

// "de_DE.UTF-8@euro" -> Name[de_DE@euro], Name[de_DE], Name[de@euro], Name[de],
// then Name.
QString LocalizedValue(const TKeyFileGroup& group, const QString& key)
{
    QString locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty())
            break;
    }
    static const QRegularExpression pattern(
        QStringLiteral("^([a-zA-Z]+)(?:_([a-zA-Z]+))?(?:\\.[^@]*)?(?:@(.+))?$"));
    const QRegularExpressionMatch match = pattern.match(locale);
    if (match.hasMatch()) {
        const QString language = match.captured(1);
        const QString country = match.captured(2);
        const QString modifier = match.captured(3);
        QStringList suffixes;
        if (!country.isEmpty() && !modifier.isEmpty())
            suffixes << language + u'_' + country + u'@' + modifier;
        if (!country.isEmpty())
            suffixes << language + u'_' + country;
        if (!modifier.isEmpty())
            suffixes << language + u'@' + modifier;
        suffixes << language;
        for (const QString& suffix : std::as_const(suffixes)) {
            const QString localized = group.value(key + u'[' + suffix + u']');
            if (!localized.isEmpty())
                return Unescape(localized);
        }
    }
    return Unescape(group.value(key));
}

// The arguments of an Exec value with its quoting undone and its field codes
// ("%U", "%f", ...) left out.
QStringList ExecArguments(const QString& exec)
{
    static const QString QuotedEscapes = QStringLiteral("\"`$\\");
    static const QRegularExpression fieldCode(QStringLiteral("^%[fFuUick]$"));
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool started = false;
    const auto finish = [&] {
        if (started && !fieldCode.match(current).hasMatch())
            arguments << current.replace(QLatin1String("%%"), QLatin1String("%"));
        current.clear();
        started = false;
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'\\' && i + 1 < exec.size() && QuotedEscapes.contains(exec[i + 1]))
                current += exec[++i];
            else if (c == u'"')
                quoted = false;
            else
                current += c;
        } else if (c == u'"') {
            quoted = started = true;
        } else if (c == u' ' || c == u'\t') {
            finish();
        } else {
            current += c;
            started = true;
        }
    }
    finish();
    return arguments;
}

struct TXdgFolders
{
    QString DataHome;
    QStringList DataDirs;
    QString ConfigHome;
    QStringList ConfigDirs;
    QStringList Desktops; // lower case, from XDG_CURRENT_DESKTOP

    QStringList ApplicationFolders() const
    {
        QStringList folders{DataHome + QStringLiteral("/applications")};
        for (const QString& dir : DataDirs)
            folders << dir + QStringLiteral("/applications");
        return folders;
    }

    // The mimeapps.list files, the one that wins first.
    QStringList MimeAppsFiles() const
    {
        QStringList folders{ConfigHome};
        folders << ConfigDirs << ApplicationFolders();
        QStringList files;
        for (const QString& folder : std::as_const(folders)) {
            for (const QString& desktop : Desktops)
                files << folder + u'/' + desktop + QStringLiteral("-mimeapps.list");
            files << folder + QStringLiteral("/mimeapps.list");
        }
        return files;
    }
};

QString FolderFromEnvironment(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() || QDir::isRelativePath(value) ? fallback : value;
}

QStringList FoldersFromEnvironment(const char* variable, const QStringList& fallback)
{
    QStringList folders;
    for (const QString& folder : qEnvironmentVariable(variable).split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(folder))
            folders << folder;
    return folders.isEmpty() ? fallback : folders;
}

TXdgFolders CurrentXdgFolders()
{
    const QString home = QDir::homePath();
    TXdgFolders folders;
    folders.DataHome =
        FolderFromEnvironment("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    folders.DataDirs = FoldersFromEnvironment(
        "XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    folders.ConfigHome =
        FolderFromEnvironment("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    folders.ConfigDirs = FoldersFromEnvironment("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
    for (const QString& desktop :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        folders.Desktops << desktop.toLower();
    return folders;
}

QString FindProgram(const QString& name)
{
    if (!name.contains(u'/'))
        return QStandardPaths::findExecutable(name);
    const QFileInfo file(name);
    return file.isAbsolute() && file.isFile() && file.isExecutable() ? QDir::cleanPath(name)
                                                                     : QString();
}

bool IsVariableAssignment(const QString& argument)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*="));
    return pattern.match(argument).hasMatch();
}

// A Flatpak application is started through its exported launcher, so each
// has a program file of its own.
QString FlatpakLauncher(const QStringList& arguments, const TXdgFolders& folders)
{
    const qsizetype run = arguments.indexOf(QStringLiteral("run"));
    if (run < 0)
        return {};
    for (qsizetype i = run + 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(u'-') || argument.startsWith(QLatin1String("@@")))
            continue;
        for (const QString& exports : QStringList{folders.DataHome + QStringLiteral("/flatpak"),
                                                  QStringLiteral("/var/lib/flatpak")}) {
            const QString launcher =
                FindProgram(exports + QStringLiteral("/exports/bin/") + argument);
            if (!launcher.isEmpty())
                return launcher;
        }
        return {};
    }
    return {};
}

// The program file an Exec value starts; "env" with its options and
// assignments is looked through.
QString ExecProgram(const QString& exec, const TXdgFolders& folders)
{
    QStringList arguments = ExecArguments(exec);
    if (!arguments.isEmpty() && QFileInfo(arguments.first()).fileName() == QLatin1String("env")) {
        arguments.removeFirst();
        while (!arguments.isEmpty() &&
               (IsVariableAssignment(arguments.first()) || arguments.first().startsWith(u'-'))) {
            const QString option = arguments.takeFirst();
            if (option == QLatin1String("-u") || option == QLatin1String("--unset"))
                arguments.removeFirst();
        }
    }
    if (arguments.isEmpty())
        return {};
    const QString program = FindProgram(arguments.first());
    if (QFileInfo(program).fileName() == QLatin1String("flatpak"))
        return FlatpakLauncher(arguments, folders);
    return program;
}

struct TDesktopEntry
{
    TInstalledBrowser Browser;
    QStringList MimeTypes;
    bool Usable = false; // an application that is shown and can start
};

TDesktopEntry ReadDesktopEntry(const QString& id, const QString& fileName,
                               const TXdgFolders& folders)
{
    TDesktopEntry entry;
    const TKeyFileGroup group = ReadKeyFile(fileName).value(DesktopEntryGroup);
    const QString type = group.value(QStringLiteral("Type"), QStringLiteral("Application"));
    if (type != QLatin1String("Application") || IsTrue(group.value(QStringLiteral("Hidden"))) ||
        IsTrue(group.value(QStringLiteral("NoDisplay"))))
        return entry;
    const QString tryExec = Unescape(group.value(QStringLiteral("TryExec")));
    if (!tryExec.isEmpty() && FindProgram(tryExec).isEmpty())
        return entry;
    TInstalledBrowser& browser = entry.Browser;
    browser.Id = id;
    browser.Name = LocalizedValue(group, QStringLiteral("Name"));
    browser.Path = ExecProgram(Unescape(group.value(QStringLiteral("Exec"))), folders);
    browser.ResolvedPath = ResolvedProgramPath(browser.Path);
    browser.Icon = LocalizedValue(group, QStringLiteral("Icon"));
    entry.MimeTypes = SplitList(group.value(QStringLiteral("MimeType")));
    entry.Usable = !browser.Name.isEmpty() && !browser.Path.isEmpty();
    return entry;
}

// Every desktop entry by its ID; an entry of the user's folder hides the
// system's entry of the same ID.
QHash<QString, TDesktopEntry> ReadDesktopEntries(const TXdgFolders& folders)
{
    QHash<QString, TDesktopEntry> entries;
    for (const QString& folder : folders.ApplicationFolders()) {
        const QDir root(folder);
        QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                           QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (files.hasNext()) {
            const QString fileName = files.next();
            const QString id = root.relativeFilePath(fileName).replace(u'/', u'-');
            if (!entries.contains(id))
                entries.insert(id, ReadDesktopEntry(id, fileName, folders));
        }
    }
    return entries;
}

struct THttpsAssociations
{
    QStringList Defaults; // in the order they win
    QSet<QString> Added;
    QSet<QString> Removed;
};

THttpsAssociations ReadHttpsAssociations(const TXdgFolders& folders)
{
    THttpsAssociations associations;
    for (const QString& fileName : folders.MimeAppsFiles()) {
        const TKeyFile file = ReadKeyFile(fileName);
        const auto handlers = [&](const char* group) {
            return SplitList(file.value(QLatin1String(group)).value(HttpsHandler));
        };
        associations.Defaults << handlers("Default Applications");
        for (const QString& id : handlers("Added Associations"))
            associations.Added.insert(id);
        for (const QString& id : handlers("Removed Associations"))
            associations.Removed.insert(id);
    }
    return associations;
}

// What xdg-settings says, for desktops that keep the choice elsewhere.
QString XdgSettingsDefaultBrowser()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-settings"));
    if (program.isEmpty())
        return {};
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    if (!process.waitForFinished(XdgSettingsTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

QList<TInstalledBrowser> InstalledBrowsers()
{
    const TXdgFolders folders = CurrentXdgFolders();
    const THttpsAssociations associations = ReadHttpsAssociations(folders);
    QList<TInstalledBrowser> browsers;
    for (const TDesktopEntry& entry : ReadDesktopEntries(folders)) {
        const QString& id = entry.Browser.Id;
        if (entry.Usable && !associations.Removed.contains(id) &&
            (entry.MimeTypes.contains(HttpsHandler) || associations.Added.contains(id)))
            browsers << entry.Browser;
    }
    return browsers;
}

std::optional<TInstalledBrowser> DefaultBrowser()
{
    const TXdgFolders folders = CurrentXdgFolders();
    const QHash<QString, TDesktopEntry> entries = ReadDesktopEntries(folders);
    for (const QString& id : ReadHttpsAssociations(folders).Defaults) {
        const TDesktopEntry entry = entries.value(id);
        if (entry.Usable)
            return entry.Browser;
    }
    const TDesktopEntry entry = entries.value(XdgSettingsDefaultBrowser());
    return entry.Usable ? std::optional(entry.Browser) : std::nullopt;
}

bool OpenWebAddress(const QString& browserPath, const QUrl& url)
{
    const QString address = url.toString(QUrl::FullyEncoded);
    if (!browserPath.isEmpty())
        return QProcess::startDetached(browserPath, {address});
    return QProcess::startDetached(QStringLiteral("xdg-open"), {address});
}

// Snap starts every application through one program that looks at the name
// it was called by, so a snap's link is its identity.
QString ResolvedProgramPath(const QString& path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return QFileInfo(resolved).fileName() == QLatin1String("snap") ? path : resolved;
}

QStringList ThemeIconFiles(const QString& iconName)
{
    if (iconName.isEmpty() || iconName.contains(u'/'))
        return {};
    const TXdgFolders folders = CurrentXdgFolders();
    QStringList themeFolders{folders.DataHome + QStringLiteral("/icons/hicolor")};
    QStringList pixmapFolders;
    for (const QString& dir : folders.DataDirs) {
        themeFolders << dir + QStringLiteral("/icons/hicolor");
        pixmapFolders << dir + QStringLiteral("/pixmaps");
    }
    QStringList imageFolders;
    for (const QString& theme : std::as_const(themeFolders))
        for (const QString& size : QDir(theme).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            imageFolders << theme + u'/' + size + QStringLiteral("/apps");
    imageFolders << pixmapFolders;
    QStringList files;
    for (const QString& folder : std::as_const(imageFolders))
        for (const char* extension : {".png", ".svg", ".xpm"})
            if (QFileInfo::exists(folder + u'/' + iconName + QLatin1String(extension)))
                files << folder + u'/' + iconName + QLatin1String(extension);
    return files;
}

bool IsSameProgramFile(const QString& resolvedPath, const QString& otherResolvedPath)
{
    return !resolvedPath.isEmpty() && resolvedPath == otherResolvedPath;
}

} // namespace Platform
