#pragma once
// Exit codes of lockwyn-cli and the error that carries one to the exit.

#include <QString>

#include <stdexcept>

enum class TCliExitCode : int
{
    cecOk = 0,
    cecFailure = 1,
    cecUsage = 2,
    cecWrongPassword = 3,
    cecDamaged = 4,
    cecNotFound = 5,
    cecAlreadyExists = 6,
    cecIoFailure = 7,
    cecWrongFormat = 8,
    cecConflict = 9, // the database was changed by another program meanwhile
    cecLimit = 10,   // the change goes beyond what a database holds
};

class ECliError : public std::runtime_error
{
public:
    ECliError(TCliExitCode code, const QString& message)
        : std::runtime_error(message.toStdString()), FCode(code), FMessage(message)
    {
    }
    TCliExitCode Code() const { return FCode; }
    const QString& Message() const { return FMessage; }

private:
    TCliExitCode FCode;
    QString FMessage;
};
