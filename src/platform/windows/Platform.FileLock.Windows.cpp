#include "Platform.FileLock.h"

#include <QDir>

#include <windows.h>

namespace Platform {

namespace {

// Byte-range locks on Windows stop other processes from reading the range, so
// the lock is taken on a byte far beyond the end of any database.
constexpr DWORD LockOffsetLow = 0xFFFFFFFEu;
constexpr DWORD LockOffsetHigh = 0x7FFFFFFFu;

HANDLE OpenShared(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool SameFile(HANDLE held, const std::wstring& path)
{
    const HANDLE named =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    const bool same = GetFileInformationByHandle(held, &a) &&
                      GetFileInformationByHandle(named, &b) &&
                      a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
                      a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(named);
    return same;
}

TFileError ErrorOf(DWORD code)
{
    const auto kind = code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT
                          ? TFileErrorKind::fekAccessDenied
                          : TFileErrorKind::fekFailed;
    return {kind, qt_error_string(int(code))};
}

} // namespace

TFileLock::TResult TFileLock::TryOnce(const QString& fileName, bool wait)
{
    const std::wstring path = QDir::toNativeSeparators(fileName).toStdWString();
    const HANDLE handle = OpenShared(path);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            return TResult::lrMissing;
        FError = ErrorOf(code);
        return TResult::lrFailed;
    }
    OVERLAPPED at{};
    at.Offset = LockOffsetLow;
    at.OffsetHigh = LockOffsetHigh;
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!LockFileEx(handle, flags, 0, 1, 0, &at)) {
        const DWORD code = GetLastError();
        CloseHandle(handle);
        if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)
            return TResult::lrBusy;
        FError = ErrorOf(code);
        return TResult::lrFailed;
    }
    if (!SameFile(handle, path)) {
        CloseHandle(handle);
        return TResult::lrBusy;
    }
    FHandle = reinterpret_cast<std::intptr_t>(handle);
    return TResult::lrLocked;
}

void TFileLock::Release()
{
    if (FHandle != InvalidHandle)
        CloseHandle(reinterpret_cast<HANDLE>(FHandle)); // closing releases the lock
    FHandle = InvalidHandle;
}

} // namespace Platform
