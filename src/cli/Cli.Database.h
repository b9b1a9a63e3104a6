#pragma once
// One database file for one command: opened with the master password (codes
// turned into exit codes and messages), changed through operations and saved
// the program's safe way. A command that changes the file holds the file's
// write lock from before reading it until it is saved, so concurrent commands
// change it one after another and none loses another's change. Closed and
// wiped when the object goes.

#include "LockwynLib.Interfaces.h"

#include <optional>

class TCliConsole;

// Key derivation cost chosen on the command line; unset parts keep the library's.
struct TCliKdfOptions
{
    std::optional<std::uint64_t> MemoryMiB;
    std::optional<std::uint64_t> Passes;
};

class TCliDatabase
{
public:
    TCliDatabase(Lockwyn::ILockwyn& lockwyn, TCliConsole& console);
    ~TCliDatabase();
    TCliDatabase(const TCliDatabase&) = delete;
    TCliDatabase& operator=(const TCliDatabase&) = delete;

    // Reads the master password and opens the file.
    void Open(const QString& fileName);
    // The same for a change: waits for other writers of the file first.
    void OpenForUpdate(const QString& fileName);
    // Reads a new master password; the file is written by CreateFile.
    void PrepareNew(const QString& fileName, const TCliKdfOptions& kdf);
    void CreateFile();
    // Runs an operation through the history and saves.
    void Change(const std::shared_ptr<Lockwyn::IOperation>& operation);
    void Save();
    void SetKdf(const TCliKdfOptions& kdf);

    Lockwyn::ILockwyn& Lockwyn() { return FLockwyn; }
    Lockwyn::IObjectFactory& Factory() { return *FFactory; }
    Lockwyn::IDatabaseFile& File() { return *FFile; }
    Lockwyn::ITokenStorage& Storage() { return *FStorage; }
    std::shared_ptr<Lockwyn::ITokenStorage> StoragePtr() { return FStorage; }
    std::shared_ptr<Lockwyn::ITokenGroup> Root() { return FStorage->GetRootGroup(); }
    TCliConsole& Console() { return FConsole; }

private:
    // The password, checked before the lock is taken, so that the lock is
    // not held while the key is derived.
    QString ReadCheckedPassword(const QString& fileName);
    void Lock(const QString& fileName);
    void OpenWith(const QString& fileName, const QString& password);

    Lockwyn::ILockwyn& FLockwyn;
    TCliConsole& FConsole;
    std::shared_ptr<Lockwyn::IObjectFactory> FFactory;
    std::shared_ptr<Lockwyn::IDatabaseFile> FFile;
    std::shared_ptr<Lockwyn::ITokenStorage> FStorage;
    QString FNewFileName;
};
