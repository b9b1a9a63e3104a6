#include "Platform.Paths.h"

#include "Platform.FileSystem.h"

#include <QDir>
#include <QFileInfo>

namespace Platform {

QString ExecutableFilePath()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ExecutableDir()
{
    return QFileInfo(ExecutableFilePath()).absolutePath();
}

static QString DefaultDataFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Orvanta Lockwyn");
}

QString DataFolder()
{
    QString folder = qEnvironmentVariable("LOCKWYN_DATA_DIR");
    if (folder.isEmpty())
        folder = DefaultDataFolder();
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    MakePrivateFolder(folder);
    return folder;
}

} // namespace Platform
