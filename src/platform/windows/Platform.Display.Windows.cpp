#include "Platform.Display.h"

#include <QtGlobal>

namespace Platform {

bool HasVisibleDisplay()
{
    return !qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen"));
}

} // namespace Platform
