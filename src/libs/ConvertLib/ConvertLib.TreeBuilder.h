#pragma once
// Builds a detached group tree of the storage library from records, with new
// IDs, ready for the root group's import operation.

#include "ConvertLib.Records.h"

namespace Lockwyn {

std::shared_ptr<ITokenGroup> BuildTree(const TGroupRecord& root, IObjectFactory& factory);

} // namespace Lockwyn
