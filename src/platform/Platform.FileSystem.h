#pragma once
// File operations whose effect survives a crash or a power cut once they have
// returned true, and the system's own words for a failure.

#include <QString>

class QFile;
class QFileDevice;

namespace Platform {

enum class TFileErrorKind
{
    fekNone,
    fekMissing,      // the file or its folder does not exist
    fekAccessDenied, // no permission, a read-only file system
    fekFailed,       // anything else: a full disk, an I/O error
};

struct TFileError
{
    TFileErrorKind Kind = TFileErrorKind::fekNone;
    QString Reason; // as the system words it, e.g. "No space left on device"
};

// Opens a file that must not exist yet for writing, readable and writable by
// its owner only.
bool CreateNewFile(const QString& fileName, QFile& file, TFileError& error);
// Writes what the file holds through to the disk; the buffers of the file
// object are flushed first.
bool FlushToDisk(QFileDevice& file, TFileError& error);
// Gives the file the permissions of another (a replaced file keeps its own).
bool CopyPermissions(const QString& from, QFileDevice& file, TFileError& error);
// Renames source over target in one step: readers see the old or the new file.
bool ReplaceFile(const QString& source, const QString& target, TFileError& error);
// Makes the creations and renames done in the folder durable. Where the rename
// itself is written through, there is nothing left to do.
bool FlushFolder(const QString& folder, TFileError& error);
// A second name for the same content; false where the file system has no links.
bool LinkFile(const QString& existing, const QString& newName, TFileError& error);
// Creates the folder and its missing parents for the user alone (0700); a
// folder that exists already is made the user's alone too (its parents are
// left as they are). Windows: the folder's permissions come from its parent.
bool MakePrivateFolder(const QString& folder);

} // namespace Platform
