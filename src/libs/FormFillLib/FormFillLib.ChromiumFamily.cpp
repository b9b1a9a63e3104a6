#include "FormFillLib.ChromiumFamily.h"

#include <QFile>
#include <QFileInfo>

#include "Platform.InstalledBrowsers.h"

namespace Lockwyn {

namespace {

struct TFamilyMember
{
    const char* Key;
    // Program file names, without ".exe".
    QStringList Names;
    // Where the browser's own program lies when the named one is a script.
    QStringList Programs;
};

const QList<TFamilyMember>& FamilyMembers()
{
    static const QList<TFamilyMember> members{
        {"chromium",
         {QStringLiteral("chromium"), QStringLiteral("chromium-browser")},
         {QStringLiteral("/usr/lib/chromium/chromium"),
          QStringLiteral("/usr/lib/chromium-browser/chromium-browser"),
          QStringLiteral("/usr/lib64/chromium-browser/chromium-browser")}},
        {"chrome",
         {QStringLiteral("chrome"), QStringLiteral("google-chrome"),
          QStringLiteral("google-chrome-stable"), QStringLiteral("google-chrome-beta"),
          QStringLiteral("google-chrome-unstable")},
         {QStringLiteral("/opt/google/chrome/chrome"),
          QStringLiteral("/opt/google/chrome-beta/chrome"),
          QStringLiteral("/opt/google/chrome-unstable/chrome")}},
        {"edge",
         {QStringLiteral("msedge"), QStringLiteral("microsoft-edge"),
          QStringLiteral("microsoft-edge-stable"), QStringLiteral("microsoft-edge-beta"),
          QStringLiteral("microsoft-edge-dev")},
         {QStringLiteral("/opt/microsoft/msedge/msedge"),
          QStringLiteral("/opt/microsoft/msedge-beta/msedge"),
          QStringLiteral("/opt/microsoft/msedge-dev/msedge")}},
        {"brave",
         {QStringLiteral("brave"), QStringLiteral("brave-browser"),
          QStringLiteral("brave-browser-stable"), QStringLiteral("brave-browser-beta")},
         {QStringLiteral("/opt/brave.com/brave/brave"),
          QStringLiteral("/opt/brave.com/brave-beta/brave")}},
        {"vivaldi",
         {QStringLiteral("vivaldi"), QStringLiteral("vivaldi-stable"),
          QStringLiteral("vivaldi-bin")},
         {QStringLiteral("/opt/vivaldi/vivaldi-bin")}},
    };
    return members;
}

QString ProgramName(const QString& path)
{
    QString name = QFileInfo(path).fileName().toLower();
    if (name.endsWith(QLatin1String(".exe")))
        name.chop(4);
    return name;
}

bool IsScript(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "#!";
}

bool IsProgram(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

} // namespace

std::optional<TChromiumBrowser> ChromiumBrowserOf(const QString& programPath)
{
    if (!IsProgram(programPath))
        return std::nullopt;
    const QString resolved = Platform::ResolvedProgramPath(programPath);
    const QStringList names{ProgramName(resolved), ProgramName(programPath)};
    for (const TFamilyMember& member : FamilyMembers()) {
        if (!member.Names.contains(names[0]) && !member.Names.contains(names[1]))
            continue;
        QString program = resolved;
        if (IsScript(resolved)) {
            for (const QString& candidate : member.Programs) {
                if (IsProgram(candidate)) {
                    program = candidate;
                    break;
                }
            }
        }
        return TChromiumBrowser{QString::fromLatin1(member.Key), program};
    }
    return std::nullopt;
}

} // namespace Lockwyn
