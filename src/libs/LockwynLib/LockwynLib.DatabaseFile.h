#pragma once
// A database file: opens a container into the token storage, saves it back,
// and reports changes made to the file by others.

#include "LockwynLib.Container.h"
#include "LockwynLib.Interfaces.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>

namespace Lockwyn {

class TFileWatcher;
class TTokenStorage;

class TDatabaseFile : public IDatabaseFile
{
public:
    // The main file wipes the shared key cache when its storage is cleared
    // or the file closed; scratch files share the cache but leave it.
    TDatabaseFile(std::shared_ptr<TKeyCache> keyCache, bool isMain);
    TDatabaseFile(const TDatabaseFile&) = delete;
    TDatabaseFile& operator=(const TDatabaseFile&) = delete;
    ~TDatabaseFile() override;

    int Open(const QString& fileName, const QString& password) override;
    int CreateFile(const QString& fileName) override;
    int Save() override;
    void Close() override;
    int CheckMasterPassword(const QString& fileName, const QString& password) override;
    QString GetFileName() override { return FFileName; }
    bool GetOpened() override { return !FFileName.isEmpty(); }
    bool GetModifiedOnDisk() override;
    void SetOnFileChanged(const TFileChangedCallback& callback) override;
    void SetOnFileChanged2(const TFileChangedCallback& callback) override;
    std::shared_ptr<IDatabaseFile> CreateScratchFile() override;
    std::shared_ptr<ITokenStorage> GetTokenStorage() override;
    TKeyDerivationSettings GetKeyDerivationSettings() override;
    void SetKeyDerivationSettings(const TKeyDerivationSettings& settings) override;

private:
    int Write(const QString& fileName, TBackupPolicy backup, const TFileKey* previousKey);
    void Track(const QString& fileName, const QByteArray& digest);
    void NotifyChanged();

    std::shared_ptr<TKeyCache> FKeyCache;
    bool FIsMain;
    std::shared_ptr<TTokenStorage> FStorage;
    QString FFileName;
    QByteArray FDigest;         // content of the file as last loaded or saved
    TFileKey FWrittenKey;       // the key the file on disk is sealed with
    qsizetype FPayloadSize = 0; // of the last payload read or written
    std::unique_ptr<TFileWatcher> FWatcher;
    std::mutex FCallbackMutex;
    TFileChangedCallback FOnFileChanged;
    TFileChangedCallback FOnFileChanged2;
};

} // namespace Lockwyn
