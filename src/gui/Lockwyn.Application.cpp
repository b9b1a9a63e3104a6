#include "Lockwyn.Application.h"

#include <exception>

#include "Lockwyn.CrashReport.h"

TLockwynApplication::TLockwynApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The display name falls back to this; set on its own, the platform
    // would append it to every window title ("Lockwyn - a.lwdb — Lockwyn").
    setApplicationName(QStringLiteral("Lockwyn"));
    // The program ends when its main window closes, not when the last window
    // does: while it is locked the unlock dialog and its message boxes are
    // the only windows.
    setQuitOnLastWindowClosed(false);
    setOrganizationName(QStringLiteral("Orvanta"));
    setApplicationVersion(QStringLiteral(LOCKWYN_VERSION));
}

bool TLockwynApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        TCrashReport::Show(QString::fromUtf8(e.what()));
    } catch (...) {
        TCrashReport::Show(QStringLiteral("Unknown error"));
    }
    return false;
}
