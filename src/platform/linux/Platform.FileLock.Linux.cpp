#include "Platform.FileLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

TFileError ErrorOf(int code)
{
    const auto kind = code == EACCES || code == EPERM || code == EROFS
                          ? TFileErrorKind::fekAccessDenied
                          : TFileErrorKind::fekFailed;
    return {kind, qt_error_string(code)};
}

bool SameFile(int fd, const QByteArray& path)
{
    struct stat held
    {
    };
    struct stat named
    {
    };
    return ::fstat(fd, &held) == 0 && ::stat(path, &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

} // namespace

// Open file description locks: unlike classic POSIX locks they are not
// dropped when the process closes another descriptor of the same file (every
// read of the file does), and unlike flock they work on network file systems.
// A write lock needs the file open for writing, which a writer has anyway.
TFileLock::TResult TFileLock::TryOnce(const QString& fileName, bool wait)
{
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return TResult::lrMissing;
        FError = ErrorOf(errno);
        return TResult::lrFailed;
    }
    struct flock lock
    {
    };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    int result = 0;
    do {
        result = ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int code = errno;
        ::close(fd);
        if (code == EAGAIN || code == EACCES)
            return TResult::lrBusy;
        FError = ErrorOf(code);
        return TResult::lrFailed;
    }
    if (!SameFile(fd, path)) {
        ::close(fd); // replaced while we waited: lock the file that is there now
        return TResult::lrBusy;
    }
    FHandle = fd;
    return TResult::lrLocked;
}

void TFileLock::Release()
{
    if (FHandle != InvalidHandle)
        ::close(int(FHandle));
    FHandle = InvalidHandle;
}

} // namespace Platform
