#include "Platform.InstalledBrowsers.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QSettings>

#include <windows.h>

#include <shellapi.h>

namespace Platform {
namespace {

const QString StartMenuInternet = QStringLiteral("\\SOFTWARE\\Clients\\StartMenuInternet");
const QString HttpsUserChoice =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\Associations\\"
                   "UrlAssociations\\https\\UserChoice");

QString ExpandEnvironment(const QString& text)
{
    const std::wstring source = text.toStdWString();
    const DWORD size = ExpandEnvironmentStringsW(source.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::wstring expanded(size, L'\0');
    ExpandEnvironmentStringsW(source.c_str(), expanded.data(), size);
    return QString::fromWCharArray(expanded.c_str());
}

// The program of a shell command: "\"C:\\Program Files\\App\\app.exe\" -- \"%1\"".
QString CommandProgram(const QString& command)
{
    const QString text = ExpandEnvironment(command).trimmed();
    QString program;
    if (text.startsWith(u'"'))
        program = text.mid(1).section(u'"', 0, 0);
    else
        program = text.section(u' ', 0, 0);
    return QDir::fromNativeSeparators(program);
}

// "C:\\App\\app.exe,0" -> C:/App/app.exe
QString IconFile(const QString& defaultIcon)
{
    QString file = ExpandEnvironment(defaultIcon).trimmed();
    const qsizetype comma = file.lastIndexOf(u',');
    if (comma > 0 && !file.mid(comma + 1).contains(u'\\'))
        file.truncate(comma);
    file.remove(u'"');
    return QDir::fromNativeSeparators(file);
}

struct TRegisteredBrowser
{
    TInstalledBrowser Browser;
    QString HttpsProgId;
};

// The browsers a registry root lists under StartMenuInternet.
QList<TRegisteredBrowser> ReadRegisteredBrowsers(const QString& root, QSettings::Format format)
{
    QList<TRegisteredBrowser> browsers;
    QSettings clients(root + StartMenuInternet, format);
    for (const QString& key : clients.childGroups()) {
        clients.beginGroup(key);
        TRegisteredBrowser registered;
        TInstalledBrowser& browser = registered.Browser;
        browser.Id = key;
        browser.Name = clients.value(QStringLiteral("Default")).toString();
        if (browser.Name.isEmpty())
            browser.Name = key;
        browser.Path =
            CommandProgram(clients.value(QStringLiteral("shell/open/command/Default")).toString());
        browser.ResolvedPath = ResolvedProgramPath(browser.Path);
        browser.Icon = IconFile(clients.value(QStringLiteral("DefaultIcon/Default")).toString());
        if (browser.Icon.isEmpty())
            browser.Icon = browser.Path;
        registered.HttpsProgId =
            clients.value(QStringLiteral("Capabilities/URLAssociations/https")).toString();
        clients.endGroup();
        if (!browser.ResolvedPath.isEmpty())
            browsers << registered;
    }
    return browsers;
}

// The current user's entries first; an ID seen once is not read again.
QList<TRegisteredBrowser> ReadAllRegisteredBrowsers()
{
    QList<TRegisteredBrowser> all;
    QSet<QString> ids;
    const QList<QPair<QString, QSettings::Format>> roots{
        {QStringLiteral("HKEY_CURRENT_USER"), QSettings::NativeFormat},
        {QStringLiteral("HKEY_LOCAL_MACHINE"), QSettings::Registry64Format},
        {QStringLiteral("HKEY_LOCAL_MACHINE"), QSettings::Registry32Format}};
    for (const auto& [root, format] : roots) {
        for (const TRegisteredBrowser& registered : ReadRegisteredBrowsers(root, format)) {
            const QString id = registered.Browser.Id.toLower();
            if (!ids.contains(id)) {
                ids.insert(id);
                all << registered;
            }
        }
    }
    return all;
}

} // namespace

QList<TInstalledBrowser> InstalledBrowsers()
{
    QList<TInstalledBrowser> browsers;
    for (const TRegisteredBrowser& registered : ReadAllRegisteredBrowsers())
        browsers << registered.Browser;
    return browsers;
}

std::optional<TInstalledBrowser> DefaultBrowser()
{
    const QString progId = QSettings(HttpsUserChoice, QSettings::NativeFormat)
                               .value(QStringLiteral("ProgId"))
                               .toString();
    if (progId.isEmpty())
        return std::nullopt;
    const QList<TRegisteredBrowser> registered = ReadAllRegisteredBrowsers();
    for (const TRegisteredBrowser& candidate : registered)
        if (candidate.HttpsProgId.compare(progId, Qt::CaseInsensitive) == 0)
            return candidate.Browser;
    const QString command =
        QSettings(QStringLiteral("HKEY_CLASSES_ROOT\\") + progId, QSettings::NativeFormat)
            .value(QStringLiteral("shell/open/command/Default"))
            .toString();
    const QString resolved = ResolvedProgramPath(CommandProgram(command));
    for (const TRegisteredBrowser& candidate : registered)
        if (IsSameProgramFile(candidate.Browser.ResolvedPath, resolved))
            return candidate.Browser;
    return std::nullopt;
}

bool OpenWebAddress(const QString& browserPath, const QUrl& url)
{
    const QString address = url.toString(QUrl::FullyEncoded);
    if (!browserPath.isEmpty())
        return QProcess::startDetached(browserPath, {address});
    const std::wstring target = address.toStdWString();
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target.c_str(), nullptr,
                                                   nullptr, SW_SHOWNORMAL)) > 32;
}

QString ResolvedProgramPath(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

// Icons are files (or programs) on Windows, never names.
QStringList ThemeIconFiles(const QString&)
{
    return {};
}

bool IsSameProgramFile(const QString& resolvedPath, const QString& otherResolvedPath)
{
    return !resolvedPath.isEmpty() &&
           resolvedPath.compare(otherResolvedPath, Qt::CaseInsensitive) == 0;
}

} // namespace Platform
