#pragma once
// The order every change of the database follows once the command has its
// operation, and undo and redo with the selection they bring back. Refusals
// (read-only mode, a declined question, a title clash) happen before.

#include <functional>
#include <memory>

#include "Lockwyn.Interfaces.h"

namespace EditingProtocol {

// Saves the selection, executes the operation through the undo history,
// lets the caller rebuild its views and select the result, saves the
// selection after it and writes the database at once.
void Execute(ILockwynApp& app, const std::shared_ptr<Lockwyn::IOperation>& operation,
             const std::function<void()>& refreshViews);

// The group tree's UpdateView and the token list's Reload.
void RebuildViews(ILockwynApp& app);

// Each asks to leave read-only mode first, rebuilds the group tree and the
// token list, selects what was selected before (undo) or after (redo) the
// operation and saves.
void Undo(ILockwynApp& app);
void Redo(ILockwynApp& app);

} // namespace EditingProtocol
