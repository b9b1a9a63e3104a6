#pragma once
// Drives the real program under X: starts it, finds its windows with xdotool
// and takes screenshots with ImageMagick's import.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace E2e {

// Runs a command to its end and returns its standard output.
QString Run(const QString& program, const QStringList& args, int timeoutMs = 10000);

// Ids of visible windows whose title matches the pattern, owned by the given
// process (0: any process).
QStringList VisibleWindows(const QString& titlePattern, qint64 pid = 0);

// Waits until such a window shows; returns its id or an empty string.
QString WaitForWindow(const QString& titlePattern, qint64 pid = 0, int timeoutMs = 15000);

bool WaitForNoWindow(const QString& titlePattern, qint64 pid, int timeoutMs = 10000);

// Saves a screenshot of the window (or the whole screen for an empty id).
QString Screenshot(const QString& windowId, const QString& name);

// The environment of a program under test: a private data folder.
QProcessEnvironment ProgramEnvironment(const QString& dataDir);

} // namespace E2e
