#pragma once
// An exclusive advisory lock on a file for a read-modify-write shared by
// several processes: writers that take the lock run one after another, readers
// are not held up. Files saved by renaming get a new identity with every save,
// so a lock holds only while the name still names the locked file; Acquire
// checks that after waiting and locks the new file otherwise. Released by the
// destructor, and by the system when the process ends.

#include "Platform.FileSystem.h"

#include <QString>

#include <chrono>
#include <cstdint>

namespace Platform {

class TFileLock
{
public:
    enum class TResult
    {
        lrLocked,
        lrBusy,    // another process held it for the whole wait
        lrMissing, // there is no such file
        lrFailed,  // see Error()
    };
    // Waits as long as it takes.
    static constexpr std::chrono::milliseconds WaitForever{-1};

    TFileLock() = default;
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;
    ~TFileLock() { Release(); }

    TResult Acquire(const QString& fileName, std::chrono::milliseconds wait);
    void Release();
    bool IsHeld() const { return FHandle != InvalidHandle; }
    const TFileError& Error() const { return FError; }

private:
    static constexpr std::intptr_t InvalidHandle = -1;
    // One attempt on the file the name names now: locked, busy or failed.
    TResult TryOnce(const QString& fileName, bool wait);

    std::intptr_t FHandle = InvalidHandle;
    TFileError FError;
};

} // namespace Platform
