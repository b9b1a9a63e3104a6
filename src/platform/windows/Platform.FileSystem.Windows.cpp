#include "Platform.FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

namespace Platform {

namespace {

bool Fail(DWORD code, TFileError& error)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        error.Kind = TFileErrorKind::fekMissing;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
        error.Kind = TFileErrorKind::fekAccessDenied;
        break;
    default:
        error.Kind = TFileErrorKind::fekFailed;
    }
    error.Reason = qt_error_string(int(code));
    return false;
}

std::wstring Native(const QString& fileName)
{
    return QDir::toNativeSeparators(fileName).toStdWString();
}

HANDLE HandleOf(QFileDevice& file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}

} // namespace

// The file inherits the access rules of its folder, which in the user's
// profile admit the user alone.
bool CreateNewFile(const QString& fileName, QFile& file, TFileError& error)
{
    int fd = -1;
    const errno_t result = _wsopen_s(&fd, Native(fileName).c_str(),
                                     _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                     _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (result != 0)
        return Fail(DWORD(_doserrno), error);
    // Unbuffered: a failed write reports its reason at once.
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        _close(fd);
        DeleteFileW(Native(fileName).c_str());
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
    if (!FlushFileBuffers(HandleOf(file)))
        return Fail(GetLastError(), error);
    return true;
}

bool CopyPermissions(const QString& from, QFileDevice& file, TFileError& error)
{
    const DWORD attributes = GetFileAttributesW(Native(from).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Fail(GetLastError(), error);
    FILE_BASIC_INFO info{};
    if (!GetFileInformationByHandleEx(HandleOf(file), FileBasicInfo, &info, sizeof(info)))
        return Fail(GetLastError(), error);
    info.FileAttributes = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (info.FileAttributes == 0)
        info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(HandleOf(file), FileBasicInfo, &info, sizeof(info)))
        return Fail(GetLastError(), error);
    return true;
}

// MOVEFILE_WRITE_THROUGH returns once the rename is on the disk.
bool ReplaceFile(const QString& source, const QString& target, TFileError& error)
{
    if (!MoveFileExW(Native(source).c_str(), Native(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Fail(GetLastError(), error);
    return true;
}

bool FlushFolder(const QString&, TFileError&)
{
    return true;
}

bool LinkFile(const QString& existing, const QString& newName, TFileError& error)
{
    if (!CreateHardLinkW(Native(newName).c_str(), Native(existing).c_str(), nullptr))
        return Fail(GetLastError(), error);
    return true;
}

bool MakePrivateFolder(const QString& folder)
{
    return QDir().mkpath(folder);
}

} // namespace Platform
