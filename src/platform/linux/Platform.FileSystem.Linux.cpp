#include "Platform.FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

bool Fail(int code, TFileError& error)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        error.Kind = TFileErrorKind::fekMissing;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        error.Kind = TFileErrorKind::fekAccessDenied;
        break;
    default:
        error.Kind = TFileErrorKind::fekFailed;
    }
    error.Reason = qt_error_string(code);
    return false;
}

QByteArray Native(const QString& fileName)
{
    return QFile::encodeName(fileName);
}

// Retries a call that a signal interrupted.
template <typename F> auto Retrying(F call)
{
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

// Missing folders are created 0700; the parents that exist stay as they are.
bool CreateFolderAndParents(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path && !CreateFolderAndParents(parent))
        return false;
    return ::mkdir(Native(path), 0700) == 0 || (errno == EEXIST && QFileInfo(path).isDir());
}

} // namespace

bool CreateNewFile(const QString& fileName, QFile& file, TFileError& error)
{
    const int fd = Retrying(
        [&] { return ::open(Native(fileName), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600); });
    if (fd < 0)
        return Fail(errno, error);
    // Unbuffered: a failed write reports its reason at once.
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        ::unlink(Native(fileName));
        error = {TFileErrorKind::fekFailed, file.errorString()};
        return false;
    }
    return true;
}

bool FlushToDisk(QFileDevice& file, TFileError& error)
{
    if (!file.flush()) {
        error = {TFileErrorKind::fekFailed, file.errorString()};
        return false;
    }
    // fsync reports write errors the kernel met while writing back, such as a
    // full disk on a file system that allocates late.
    if (Retrying([&] { return ::fsync(file.handle()); }) != 0)
        return Fail(errno, error);
    return true;
}

bool CopyPermissions(const QString& from, QFileDevice& file, TFileError& error)
{
    struct stat info
    {
    };
    if (::stat(Native(from), &info) != 0)
        return Fail(errno, error);
    if (::fchmod(file.handle(), info.st_mode & 07777) != 0)
        return Fail(errno, error);
    return true;
}

bool ReplaceFile(const QString& source, const QString& target, TFileError& error)
{
    if (::rename(Native(source), Native(target)) != 0)
        return Fail(errno, error);
    return true;
}

bool FlushFolder(const QString& folder, TFileError& error)
{
    const int fd =
        Retrying([&] { return ::open(Native(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return Fail(errno, error);
    const int result = Retrying([&] { return ::fsync(fd); });
    const int code = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; their renames are as durable as
    // they get.
    if (result != 0 && code != EINVAL && code != ENOTSUP)
        return Fail(code, error);
    return true;
}

bool LinkFile(const QString& existing, const QString& newName, TFileError& error)
{
    if (::link(Native(existing), Native(newName)) != 0)
        return Fail(errno, error);
    return true;
}

bool MakePrivateFolder(const QString& folder)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (QFileInfo(path).isDir())
        return ::chmod(Native(path), 0700) == 0;
    return CreateFolderAndParents(path);
}

} // namespace Platform
