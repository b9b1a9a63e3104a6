#include "Cli.Database.h"

#include "Cli.Console.h"
#include "Cli.Error.h"
#include "Lockwyn.Format.h"

#include <QFileInfo>

using namespace Lockwyn;

namespace {

// "Cannot write x: No space left on device"
QString WithReason(const QString& message, const QString& reason)
{
    return reason.isEmpty() ? message : message + QStringLiteral(": ") + reason;
}

[[noreturn]] void FailOpen(int code, const QString& fileName, const QString& reason = QString())
{
    switch (code) {
    case DatabaseFileCode::OpenFileMissing:
        throw ECliError(TCliExitCode::cecNotFound, Format("File %s does not exist", fileName));
    case DatabaseFileCode::OpenWrongPassword:
        throw ECliError(TCliExitCode::cecWrongPassword,
                        Format("Wrong master password for %s", fileName));
    case DatabaseFileCode::OpenAccessDenied:
    case DatabaseFileCode::OpenReadFailed:
        throw ECliError(TCliExitCode::cecIoFailure,
                        WithReason(Format("Cannot read %s", fileName), reason));
    case DatabaseFileCode::OpenTooNew:
        throw ECliError(TCliExitCode::cecDamaged,
                        Format("%s was written by a newer version of Lockwyn", fileName));
    default:
        throw ECliError(TCliExitCode::cecDamaged,
                        Format("%s is not a Lockwyn database or it is damaged", fileName));
    }
}

} // namespace

TCliDatabase::TCliDatabase(ILockwyn& lockwyn, TCliConsole& console)
    : FLockwyn(lockwyn), FConsole(console), FFactory(lockwyn.GetObjectFactory()),
      FFile(lockwyn.GetDatabaseFile()), FStorage(FFile->GetTokenStorage())
{
}

// Close wipes the master password and the keys; the tree goes with the
// process (main), which is cheaper than freeing it object by object.
TCliDatabase::~TCliDatabase()
{
    FFile->Close();
}

void TCliDatabase::Open(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        FailOpen(DatabaseFileCode::OpenFileMissing, fileName);
    OpenWith(fileName,
             FConsole.ReadPassword(Format("Enter the master password of %s: ", fileName)));
}

void TCliDatabase::OpenForUpdate(const QString& fileName)
{
    const QString password = ReadCheckedPassword(fileName);
    Lock(fileName);
    OpenWith(fileName, password);
}

QString TCliDatabase::ReadCheckedPassword(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        FailOpen(DatabaseFileCode::OpenFileMissing, fileName);
    const QString password =
        FConsole.ReadPassword(Format("Enter the master password of %s: ", fileName));
    const int code = FFile->CheckMasterPassword(fileName, password);
    if (code != DatabaseFileCode::Ok)
        FailOpen(code, fileName);
    return password;
}

void TCliDatabase::Lock(const QString& fileName)
{
    int code = FFile->AcquireWriteLock(fileName, 0);
    if (code == DatabaseFileCode::LockBusy) {
        FConsole.Error(Format("Waiting for another program to finish writing %s...", fileName));
        code = FFile->AcquireWriteLock(fileName, IDatabaseFile::WaitForever);
    }
    switch (code) {
    case DatabaseFileCode::Ok:
        return;
    case DatabaseFileCode::LockFileMissing:
        FailOpen(DatabaseFileCode::OpenFileMissing, fileName);
    default:
        throw ECliError(
            TCliExitCode::cecIoFailure,
            WithReason(Format("Cannot lock %s for writing", fileName), FFile->GetErrorReason()));
    }
}

void TCliDatabase::OpenWith(const QString& fileName, const QString& password)
{
    const int code = FFile->Open(fileName, password);
    if (code != DatabaseFileCode::Ok)
        FailOpen(code, fileName, FFile->GetErrorReason());
}

void TCliDatabase::PrepareNew(const QString& fileName, const TCliKdfOptions& kdf)
{
    if (QFileInfo::exists(fileName))
        throw ECliError(TCliExitCode::cecAlreadyExists, Format("%s exists already", fileName));
    if (!QFileInfo(QFileInfo(fileName).absolutePath()).isDir())
        throw ECliError(TCliExitCode::cecNotFound,
                        Format("Folder %s does not exist", QFileInfo(fileName).absolutePath()));
    SetKdf(kdf);
    FStorage->SetMasterPassword(FConsole.ReadNewPassword(QStringLiteral("New master password: ")));
    FNewFileName = fileName;
}

void TCliDatabase::CreateFile()
{
    const int code = FFile->CreateFile(FNewFileName);
    if (code == DatabaseFileCode::CreateBeyondLimits)
        throw ECliError(TCliExitCode::cecLimit, WithReason(Format("Cannot write %s", FNewFileName),
                                                           FFile->GetErrorReason()));
    if (code != DatabaseFileCode::Ok)
        throw ECliError(
            TCliExitCode::cecIoFailure,
            WithReason(Format("Cannot write %s", FNewFileName), FFile->GetErrorReason()));
}

void TCliDatabase::Change(const std::shared_ptr<IOperation>& operation)
{
    FLockwyn.GetOperationHistory()->Execute(operation);
    Save();
}

void TCliDatabase::Save()
{
    const QString fileName = FFile->GetFileName();
    switch (FFile->Save()) {
    case DatabaseFileCode::Ok:
        return;
    case DatabaseFileCode::SaveChangedOnDisk:
        throw ECliError(TCliExitCode::cecConflict,
                        Format("%s was changed by another program since it was read; nothing "
                               "was written",
                               fileName));
    case DatabaseFileCode::SaveBeyondLimits:
        throw ECliError(TCliExitCode::cecLimit,
                        WithReason(Format("Cannot write %s", fileName), FFile->GetErrorReason()));
    default:
        throw ECliError(TCliExitCode::cecIoFailure,
                        WithReason(Format("Cannot write %s", fileName), FFile->GetErrorReason()));
    }
}

void TCliDatabase::SetKdf(const TCliKdfOptions& kdf)
{
    auto settings = FFile->GetKeyDerivationSettings();
    if (kdf.MemoryMiB)
        settings.MemLimit = *kdf.MemoryMiB << 20;
    if (kdf.Passes)
        settings.OpsLimit = *kdf.Passes;
    FFile->SetKeyDerivationSettings(settings);
}
