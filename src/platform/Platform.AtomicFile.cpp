#include "Platform.AtomicFile.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace Platform {

TAtomicFile::TAtomicFile(QString fileName, TPermissions permissions)
    : FFileName(std::move(fileName)), FPermissions(permissions)
{
}

TAtomicFile::~TAtomicFile()
{
    Cancel();
}

bool TAtomicFile::Open()
{
    Cancel();
    FError = {};
    const QFileInfo info(FFileName);
    if (!QFileInfo(info.absolutePath()).isDir())
        return Fail(TFileErrorKind::fekMissing, QStringLiteral("The folder does not exist"));
    // A name nobody else uses; O_EXCL refuses one that exists (or a link planted there).
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = QStringLiteral("%1.%2.tmp")
                                 .arg(info.absoluteFilePath())
                                 .arg(QRandomGenerator::system()->generate64(), 0, 36);
        if (CreateNewFile(name, FTemporary, FError)) {
            FTemporaryName = name;
            break;
        }
        if (QFileInfo::exists(name) || QFileInfo(name).isSymLink())
            continue;
        return false;
    }
    if (!FTemporary.isOpen())
        return false;
    if (FPermissions == TPermissions::apKeepExisting && info.exists() &&
        !CopyPermissions(FFileName, FTemporary, FError)) {
        Cancel();
        return false;
    }
    return true;
}

bool TAtomicFile::Commit(const std::function<bool(TFileError&)>& beforeReplace)
{
    if (!FTemporary.isOpen()) {
        if (FError.Kind == TFileErrorKind::fekNone)
            Fail(TFileErrorKind::fekFailed, QStringLiteral("The file is not open"));
        return false;
    }
    if (!FlushToDisk(FTemporary, FError) || (beforeReplace && !beforeReplace(FError))) {
        Cancel();
        return false;
    }
    FTemporary.close();
    if (!ReplaceFile(FTemporaryName, FFileName, FError)) {
        Cancel();
        return false;
    }
    FTemporaryName.clear();
    return FlushFolder(QFileInfo(FFileName).absolutePath(), FError);
}

// A short write is retried: the write after it names the failure.
bool TAtomicFile::Write(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qint64 written = FTemporary.write(bytes.data(), bytes.size());
        if (written <= 0)
            return Fail(TFileErrorKind::fekFailed, FTemporary.errorString());
        bytes = bytes.sliced(written);
    }
    return true;
}

void TAtomicFile::Cancel()
{
    FTemporary.close();
    if (!FTemporaryName.isEmpty())
        QFile::remove(FTemporaryName);
    FTemporaryName.clear();
}

bool TAtomicFile::Fail(TFileErrorKind kind, const QString& reason)
{
    FError = {kind, reason};
    return false;
}

} // namespace Platform
