#include "Components.OnScreenKeyboard.h"

#include <QFileInfo>

bool TOnScreenKeyboard::Open()
{
    if (const Platform::TWindowHandle window = FindKeyboardWindow()) {
        Platform::BringWindowToFront(window);
        return true;
    }
    const QString path = GetKeyboardPath();
    return !path.isEmpty() && Platform::StartOnScreenKeyboard(path);
}

bool TOnScreenKeyboard::Close()
{
    const Platform::TWindowHandle window = FindKeyboardWindow();
    return window && Platform::CloseWindow(window);
}

bool TOnScreenKeyboard::IsAvailable()
{
    const QString path = GetKeyboardPath();
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString TOnScreenKeyboard::GetKeyboardPath()
{
    return Platform::OnScreenKeyboardPath();
}

Platform::TWindowHandle TOnScreenKeyboard::FindKeyboardWindow()
{
    return Platform::FindOnScreenKeyboardWindow();
}
