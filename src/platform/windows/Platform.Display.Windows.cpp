#include "Platform.Display.h"

#include <QString>

namespace Platform {

bool HasVisibleDisplay()
{
    return !qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen"));
}

} // namespace Platform
