#pragma once
// What lockwyn-cli writes and the secrets it reads. Secrets come from the
// terminal without echo, or line by line from standard input when that is not
// a terminal; never from arguments or the environment.

#include <QString>
#include <QTextStream>

class TCliConsole
{
public:
    TCliConsole();

    QTextStream& Out() { return FOut; }
    void Error(const QString& message);

    // One line: the master password of an existing database.
    QString ReadPassword(const QString& prompt);
    // A new password; a person at the terminal types it twice.
    QString ReadNewPassword(const QString& prompt);

private:
    QTextStream FOut;
};
