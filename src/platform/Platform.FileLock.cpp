#include "Platform.FileLock.h"

#include <QThread>

namespace Platform {

// Short waits poll, so that a deadline can end them; an endless wait sleeps in
// the system until the lock is free.
TFileLock::TResult TFileLock::Acquire(const QString& fileName, std::chrono::milliseconds wait)
{
    using namespace std::chrono;
    Release();
    FError = {};
    const auto deadline = steady_clock::now() + wait;
    for (;;) {
        const TResult result = TryOnce(fileName, wait == WaitForever);
        if (result != TResult::lrBusy || (wait != WaitForever && steady_clock::now() >= deadline))
            return result;
        if (wait != WaitForever)
            QThread::msleep(10);
    }
}

} // namespace Platform
