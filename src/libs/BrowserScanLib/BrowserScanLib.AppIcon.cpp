#include "BrowserScanLib.AppIcon.h"

#include <QAbstractFileIconProvider>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include "Platform.InstalledBrowsers.h"

namespace Lockwyn {

namespace {

QIcon LoadIcon(const QString& icon)
{
    if (icon.isEmpty())
        return {};
    if (QDir::isAbsolutePath(icon)) {
        if (QImageReader(icon).canRead())
            return QIcon(icon);
        // A program file: the system's icon of it.
        return QAbstractFileIconProvider().icon(QFileInfo(icon));
    }
    QIcon themed = QIcon::fromTheme(icon);
    if (!themed.isNull())
        return themed;
    for (const QString& file : Platform::ThemeIconFiles(icon))
        themed.addFile(file);
    return themed;
}

} // namespace

TAppIcon::TAppIcon(const QString& icon) : FIcon(icon) {}

QIcon TAppIcon::GetIcon()
{
    if (!FLoaded)
        FLoaded = LoadIcon(FIcon);
    return *FLoaded;
}

} // namespace Lockwyn
