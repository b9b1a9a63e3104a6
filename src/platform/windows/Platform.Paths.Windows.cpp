#include "Platform.Paths.h"

#include "Platform.FileSystem.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace Platform {

QString ExecutableFilePath()
{
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    return QDir::fromNativeSeparators(QString::fromWCharArray(buffer, int(length)));
}

QString ExecutableDir()
{
    return QFileInfo(ExecutableFilePath()).absolutePath();
}

QString DataFolder()
{
    QString folder = qEnvironmentVariable("LOCKWYN_DATA_DIR");
    if (folder.isEmpty())
        folder = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) +
                 QStringLiteral("/Orvanta Lockwyn");
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    MakePrivateFolder(folder);
    return folder;
}

} // namespace Platform
