#include "Platform.OnScreenKeyboard.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>
#include <string>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

namespace Platform {

namespace {

const wchar_t* const KeyboardFileName = L"osk.exe";
const wchar_t* const KeyboardWindowClass = L"OSKMainClass";
constexpr int MaxClassNameLength = 128;

struct TFindWindowRec
{
    const wchar_t* ClassNameToFind = nullptr;
    HWND FoundHWnd = nullptr;
};

BOOL CALLBACK FindWindowByClass(HWND window, LPARAM parameter)
{
    auto* rec = reinterpret_cast<TFindWindowRec*>(parameter);
    wchar_t className[MaxClassNameLength + 1] = {};
    if (GetClassNameW(window, className, MaxClassNameLength + 1) == 0)
        return TRUE;
    if (CompareStringOrdinal(className, -1, rec->ClassNameToFind, -1, TRUE) != CSTR_EQUAL)
        return TRUE;
    rec->FoundHWnd = window;
    return FALSE;
}

using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
using TWow64DisableRedirection = BOOL(WINAPI*)(PVOID*);
using TWow64RevertRedirection = BOOL(WINAPI*)(PVOID);

template <typename T> T Kernel32Function(const char* name)
{
    return reinterpret_cast<T>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name));
}

} // namespace

QString OnScreenKeyboardPath()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_SYSTEM, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return QString();
    QString path = QString::fromWCharArray(folder);
    if (!path.endsWith(u'\\'))
        path += u'\\';
    return path + QString::fromWCharArray(KeyboardFileName);
}

TWindowHandle FindOnScreenKeyboardWindow()
{
    TFindWindowRec rec;
    rec.ClassNameToFind = KeyboardWindowClass;
    EnumWindows(FindWindowByClass, reinterpret_cast<LPARAM>(&rec));
    return reinterpret_cast<TWindowHandle>(rec.FoundHWnd);
}

bool BringWindowToFront(TWindowHandle handle)
{
    const auto window = reinterpret_cast<HWND>(handle);
    if (!window)
        return false;
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    return BringWindowToTop(window) != FALSE;
}

bool CloseWindow(TWindowHandle handle)
{
    const auto window = reinterpret_cast<HWND>(handle);
    if (!window)
        return false;
    SendMessageW(window, WM_CLOSE, 0, 0);
    return true;
}

// A 32-bit program on 64-bit Windows would be sent to the 32-bit system
// folder, which has no keyboard: the redirection is off around the start.
bool StartOnScreenKeyboard(const QString& path)
{
    BOOL redirected = FALSE;
    TWow64DisableRedirection disableRedirection = nullptr;
    TWow64RevertRedirection revertRedirection = nullptr;
    if (const auto isWow64Process = Kernel32Function<TIsWow64Process>("IsWow64Process")) {
        if (!isWow64Process(GetCurrentProcess(), &redirected))
            throw std::runtime_error("IsWow64: bad process handle");
        disableRedirection =
            Kernel32Function<TWow64DisableRedirection>("Wow64DisableWow64FsRedirection");
        revertRedirection =
            Kernel32Function<TWow64RevertRedirection>("Wow64RevertWow64FsRedirection");
        if (!disableRedirection || !revertRedirection)
            return false;
    }
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const std::wstring folder =
        QDir::toNativeSeparators(QFileInfo(path).absolutePath()).toStdWString();
    PVOID oldValue = nullptr;
    if (redirected)
        disableRedirection(&oldValue);
    const auto result =
        ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
    if (redirected)
        revertRedirection(oldValue);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace Platform
