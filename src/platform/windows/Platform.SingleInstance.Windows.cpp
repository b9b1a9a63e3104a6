#include "Platform.SingleInstance.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace Platform {
namespace {

// The named mutex in the global namespace marks the running copy; a second
// copy broadcasts the registered instance message and ends.
class TMutexGuard final : public TSingleInstanceGuard, private QAbstractNativeEventFilter
{
public:
    TMutexGuard(HANDLE mutex, UINT message) : FMutex(mutex), FMessage(message)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~TMutexGuard() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
        if (FMutex)
            CloseHandle(FMutex);
    }

private:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "windows_generic_MSG" && type != "windows_dispatcher_MSG")
            return false;
        if (static_cast<MSG*>(message)->message != FMessage)
            return false;
        QCoreApplication::postEvent(QCoreApplication::instance(), new TInstanceMessageEvent);
        return true;
    }

    HANDLE FMutex;
    UINT FMessage;
};

} // namespace

std::unique_ptr<TSingleInstanceGuard> TSingleInstanceGuard::Claim(const QString& instanceName)
{
    const std::wstring name = instanceName.toStdWString();
    const UINT message = RegisterWindowMessageW(name.c_str());
    const std::wstring mutexName = L"Global\\" + name;
    if (HANDLE existing = OpenMutexW(MUTEX_MODIFY_STATE, FALSE, mutexName.c_str())) {
        CloseHandle(existing);
        PostMessageW(HWND_BROADCAST, message, 0, 0);
        return nullptr;
    }
    // If the mutex cannot be created the program runs on without protection.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, mutexName.c_str());
    return std::make_unique<TMutexGuard>(mutex, message);
}

} // namespace Platform
