#pragma once
// Copies groups and tokens of the storage library into the neutral records the
// writers take, one object at a time.

#include "ConvertLib.TreeSink.h"

namespace Lockwyn {

// Hands a group and everything below it to a sink.
void WalkStorage(ITokenGroup& group, ITreeSink& sink);
TTokenRecord SnapshotToken(IToken& token);

} // namespace Lockwyn
