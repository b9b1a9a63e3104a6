#pragma once
// Makes an imported tree fit the storage library's rules: every token and group
// title is non-empty and unique among its siblings, compared case-insensitively.
// Other programs allow both empty and repeated titles.

#include "ConvertLib.Records.h"

namespace Lockwyn {

void RepairTitles(TGroupRecord& group);

} // namespace Lockwyn
