#include "Platform.TimeZone.h"

namespace Platform {

// The Windows C runtime keeps the zone it read once; nothing to do.
void CacheLocalTimeZone() {}

} // namespace Platform
