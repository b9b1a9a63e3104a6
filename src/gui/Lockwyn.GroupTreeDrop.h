#pragma once
// What a drop on a group of the tree does: a dragged group is moved or
// copied below the target, dragged tokens are moved or copied into it. A
// group never goes into itself or below itself, a move onto its own parent
// changes nothing and is refused, and tokens that all lie in the target
// already are not moved. Every transfer is one undoable step, saved at once.

#include <functional>
#include <memory>
#include <optional>

#include "Lockwyn.DragObject.h"
#include "Lockwyn.Interfaces.h"

namespace GroupTreeDrop {

// What the drag carries: the tree's selected group, the token list's
// selected tokens, or something the tree does not take.
enum class TDraggedKind
{
    dkGroup,
    dkTokens,
    dkOther,
};

struct TDrop
{
    TDraggedKind Kind = TDraggedKind::dkOther;
    TLockwynDragOperationType Operation = TLockwynDragOperationType::dotMove;
    // The group under the cursor; null on blank space or the search results.
    std::shared_ptr<Lockwyn::ITokenGroup> Target;
    // The tree's selected group (the dragged one when a group is dragged).
    std::shared_ptr<Lockwyn::ITokenGroup> SelectedGroup;
    // The token list's selection; empty optional when nothing is selected.
    std::optional<Lockwyn::ITokenList> SelectedTokens;
};

bool Accepts(const TDrop& drop);

// After RequestEditMode, transfers through the editing protocol: the tree
// and the list are rebuilt, and selectGroup is called with the moved group
// or its copy. False when nothing was changed.
bool Execute(ILockwynApp& app, const TDrop& drop,
             const std::function<void(const std::shared_ptr<Lockwyn::ITokenGroup>&)>& selectGroup);

} // namespace GroupTreeDrop
