#include "Lockwyn.Application.h"

#include <exception>

#include "Lockwyn.CrashReport.h"

TLockwynApplication::TLockwynApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Lockwyn"));
    setApplicationDisplayName(QStringLiteral("Lockwyn"));
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
