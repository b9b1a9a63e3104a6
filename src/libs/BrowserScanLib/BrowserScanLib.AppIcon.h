#pragma once
// An application's icon, read from the icon theme or its file when it is
// first asked for.

#include <QIcon>

#include <optional>

#include "BrowserScanLib.Interfaces.h"

namespace Lockwyn {

class TAppIcon final : public IAppIcon
{
public:
    // An icon theme name, or the absolute name of an image or program file.
    explicit TAppIcon(const QString& icon);

    QIcon GetIcon() override;

private:
    QString FIcon;
    std::optional<QIcon> FLoaded;
};

} // namespace Lockwyn
