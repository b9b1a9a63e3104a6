#pragma once
// DatabaseLimits, enforced where data is created: an operation checks what it
// brings into the database before it changes anything, and throws
// ELimitExceeded with a message a user understands.

namespace Lockwyn {

class TTokenGroup;
struct TGroupData;
struct TGroupTreeData;
struct TTokenData;

// The level of a group: 0 for the root group.
int GroupLevel(const TTokenGroup& group);
// The levels a tree of groups takes: 1 for a group without subgroups.
int TreeHeight(const TTokenGroup& group);
int TreeHeight(const TGroupTreeData& tree);
// Groups of the given height fit below the parent.
void RequireRoomBelow(const TTokenGroup& parent, int height);

// Every text is short enough and valid Unicode. A text that is also in
// `before` passes: it is in the database already.
void RequireTexts(const TTokenData& token, const TTokenData* before = nullptr);
void RequireTexts(const TGroupData& group, const TGroupData* before = nullptr);
// The tokens and groups below the tree's group (what an import brings).
void RequireContentTexts(const TGroupTreeData& tree);

} // namespace Lockwyn
