#pragma once
// A receiver of a tree in writing order, so writers need not hold a whole
// database at once: a group starts before its tokens and subgroups and ends
// after them.

#include "ConvertLib.Records.h"

namespace Lockwyn {

class ITreeSink
{
public:
    virtual ~ITreeSink() = default;
    // The group's own values; its Tokens and Groups are not looked at.
    virtual void StartGroup(const TGroupRecord& group) = 0;
    virtual void AddToken(const TTokenRecord& token) = 0;
    virtual void EndGroup() = 0;
};

// Hands a tree of records to a sink.
void WalkRecords(const TGroupRecord& group, ITreeSink& sink);

} // namespace Lockwyn
