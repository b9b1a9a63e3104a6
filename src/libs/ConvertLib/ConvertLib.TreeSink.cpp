#include "ConvertLib.TreeSink.h"

namespace Lockwyn {

void WalkRecords(const TGroupRecord& group, ITreeSink& sink)
{
    sink.StartGroup(group);
    for (const auto& token : group.Tokens)
        sink.AddToken(token);
    for (const auto& child : group.Groups)
        WalkRecords(child, sink);
    sink.EndGroup();
}

} // namespace Lockwyn
