#include "E2eSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

namespace E2e {

QString Run(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs))
        process.kill();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QStringList VisibleWindows(const QString& titlePattern, qint64 pid)
{
    QStringList args{"search", "--onlyvisible"};
    // Without --all xdotool lists windows that meet any one condition.
    if (pid)
        args << "--all"
             << "--pid" << QString::number(pid);
    args << "--name" << titlePattern;
    return Run("xdotool", args).split('\n', Qt::SkipEmptyParts);
}

QString WaitForWindow(const QString& titlePattern, qint64 pid, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QStringList ids = VisibleWindows(titlePattern, pid);
        if (!ids.isEmpty())
            return ids.last();
        QThread::msleep(100);
    }
    return {};
}

bool WaitForNoWindow(const QString& titlePattern, qint64 pid, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (VisibleWindows(titlePattern, pid).isEmpty())
            return true;
        QThread::msleep(100);
    }
    return false;
}

QString Screenshot(const QString& windowId, const QString& name)
{
    QDir().mkpath(SCREENSHOT_DIR);
    const QString file = QStringLiteral(SCREENSHOT_DIR) + '/' + name + ".png";
    Run("import", {"-window", windowId.isEmpty() ? QStringLiteral("root") : windowId, file});
    return file;
}

QProcessEnvironment ProgramEnvironment(const QString& dataDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.insert("LOCKWYN_DATA_DIR", dataDir);
    return env;
}

} // namespace E2e
