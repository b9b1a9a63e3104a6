#pragma once
// Copies a group of the storage library, with everything below it, into the
// neutral records the writers take.

#include "ConvertLib.Records.h"

namespace Lockwyn {

TGroupRecord SnapshotGroup(ITokenGroup& group);
TTokenRecord SnapshotToken(IToken& token);

} // namespace Lockwyn
