#pragma once
// Local time for processes that convert many dates.

namespace Platform {

// Makes local-time conversions cheap for the rest of the process. The GNU C
// library re-reads the zone file on every conversion unless TZ is set, which
// makes listing or exporting a large database spend half its time in stat().
// The zone stays the one in force at the call.
void CacheLocalTimeZone();

} // namespace Platform
