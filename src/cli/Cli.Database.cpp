#include "Cli.Database.h"

#include "Cli.Console.h"
#include "Cli.Error.h"
#include "Lockwyn.Format.h"

#include <QFileInfo>

using namespace Lockwyn;

namespace {

[[noreturn]] void FailOpen(int code, const QString& fileName)
{
    switch (code) {
    case DatabaseFileCode::OpenFileMissing:
        throw ECliError(TCliExitCode::cecNotFound, Format("File %s does not exist", fileName));
    case DatabaseFileCode::OpenWrongPassword:
        throw ECliError(TCliExitCode::cecWrongPassword,
                        Format("Wrong master password for %s", fileName));
    case DatabaseFileCode::OpenAccessDenied:
        throw ECliError(TCliExitCode::cecIoFailure, Format("Cannot read %s", fileName));
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
    const QString password =
        FConsole.ReadPassword(Format("Enter the master password of %s: ", fileName));
    const int code = FFile->Open(fileName, password);
    if (code != DatabaseFileCode::Ok)
        FailOpen(code, fileName);
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
    if (FFile->CreateFile(FNewFileName) != DatabaseFileCode::Ok)
        throw ECliError(TCliExitCode::cecIoFailure, Format("Cannot write %s", FNewFileName));
}

void TCliDatabase::Change(const std::shared_ptr<IOperation>& operation)
{
    FLockwyn.GetOperationHistory()->Execute(operation);
    Save();
}

void TCliDatabase::Save()
{
    if (FFile->Save() != DatabaseFileCode::Ok)
        throw ECliError(TCliExitCode::cecIoFailure,
                        Format("Cannot write %s", FFile->GetFileName()));
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
