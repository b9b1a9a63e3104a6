#pragma once
// Writing the open database to another format and reading another program's
// file into it, through the converter library. An import is one undoable
// change; its file is parsed on a worker thread, so a large one leaves the
// window responsive and can be cancelled.

#include "Lockwyn.Interfaces.h"

namespace DatabaseTransfer {

// A parse that takes longer than this shows a progress dialog with Cancel.
inline constexpr int ProgressDelayMs = 500;

// Asks, runs the save dialog and writes the file; true when it was written.
bool ExportDatabase(ILockwynApp& app, int converterIndex);
// Leaves read-only mode on request, runs the open dialog, parses the file and
// adds its content; true when the file could be read and was imported.
bool ImportDatabase(ILockwynApp& app, int converterIndex);

// Waits for parsers that still run after a cancelled import: they run code
// of the converter library, which must stay loaded until they end.
void WaitForImportWorkers();

} // namespace DatabaseTransfer
