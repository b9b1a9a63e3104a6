#pragma once
// One database file for one command: opened with the master password (codes
// turned into exit codes and messages), changed through operations and saved
// the program's safe way. Closed and wiped when the object goes.

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
    Lockwyn::ILockwyn& FLockwyn;
    TCliConsole& FConsole;
    std::shared_ptr<Lockwyn::IObjectFactory> FFactory;
    std::shared_ptr<Lockwyn::IDatabaseFile> FFile;
    std::shared_ptr<Lockwyn::ITokenStorage> FStorage;
    QString FNewFileName;
};
