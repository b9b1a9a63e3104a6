#pragma once
// Builds a detached group tree of the storage library's objects from records,
// with new IDs and the records' dates, ready for the root group's import
// operation.

#include "ConvertLib.Records.h"

namespace Lockwyn {

std::shared_ptr<ITokenGroup> BuildTree(const TGroupRecord& root, IObjectFactory& factory);

} // namespace Lockwyn
