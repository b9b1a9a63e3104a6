#include "Platform.TimeZone.h"

#include <QByteArray>

namespace Platform {

void CacheLocalTimeZone()
{
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
}

} // namespace Platform
