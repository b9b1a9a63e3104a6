#pragma once
// Turns the whole earlier versions of a token, as other programs keep them,
// into the storage library's change history.

#include "ConvertLib.Records.h"

namespace Lockwyn {

// Versions oldest first, the current one last, each dated by its
// ModificationDate. The result, newest first, as the storage library records
// history: a "created" entry with the first version's values (in the first
// snapshot) at its CreationDate, then one "changed" entry per version that
// differs from the one before, holding the changed fields only.
QList<TTokenHistoryEntry> HistoryFromVersions(const QList<TTokenRecord>& versions);

} // namespace Lockwyn
