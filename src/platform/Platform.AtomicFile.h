#pragma once
// Writes a file so that it holds either its previous content or the complete
// new one, also after a crash or a power cut: the content goes to a temporary
// file in the same folder, which is written through to the disk (and a failure
// there, such as a full disk, is reported), renamed over the file, and the
// folder is flushed so that the rename is on the disk too when Commit returns.

#include "Platform.FileSystem.h"

#include <QFile>
#include <QString>

#include <functional>

namespace Platform {

class TAtomicFile
{
public:
    enum class TPermissions
    {
        apOwnerOnly,    // readable and writable by the owner alone
        apKeepExisting, // a replaced file keeps its permissions; a new one is owner-only
    };

    explicit TAtomicFile(QString fileName, TPermissions permissions = TPermissions::apOwnerOnly);
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;
    // Removes the temporary file unless Commit succeeded.
    ~TAtomicFile();

    // Creates the temporary file.
    bool Open();
    // Where the content is written between Open and Commit.
    QIODevice& Device() { return FTemporary; }
    // Writes all of the bytes to Device(); false with the reason in Error() otherwise.
    bool Write(QByteArrayView bytes);
    // Puts the written content in place. beforeReplace runs once the content
    // is on the disk and before the file is replaced; when it returns false
    // (saying why in its argument), nothing is replaced. A failure to flush
    // the folder after the rename is reported although the new content is in
    // place: it is not known to be on the disk.
    bool Commit(const std::function<bool(TFileError&)>& beforeReplace = {});
    void Cancel();
    const TFileError& Error() const { return FError; }
    const QString& FileName() const { return FFileName; }

private:
    bool Fail(TFileErrorKind kind, const QString& reason);

    QString FFileName;
    TPermissions FPermissions;
    QFile FTemporary;
    QString FTemporaryName; // a file opened by descriptor has no name of its own
    TFileError FError;
};

} // namespace Platform
