#pragma once
// A database file: opens a container into the token storage, saves it back,
// and reports changes made to the file by others.

#include "LockwynLib.Container.h"
#include "LockwynLib.Interfaces.h"
#include "Platform.FileLock.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>

namespace Lockwyn {

class TFileWatcher;
class TTokenStorage;

class TDatabaseFile : public IDatabaseFile
{
public:
    // How long Save waits for another writer's lock.
    static constexpr std::chrono::milliseconds SaveLockWait{5000};

    // The main file wipes the shared key cache (and scrubs freed memory) when
    // its storage is cleared, the cache when the file is closed; scratch files
    // share the cache but leave it.
    TDatabaseFile(std::shared_ptr<TKeyCache> keyCache, bool isMain);
    TDatabaseFile(const TDatabaseFile&) = delete;
    TDatabaseFile& operator=(const TDatabaseFile&) = delete;
    ~TDatabaseFile() override;

    int Open(const QString& fileName, const QString& password) override;
    int OpenWithKey(const QString& fileName, const std::shared_ptr<IDatabaseKey>& key) override;
    std::shared_ptr<IDatabaseKey> GetKey() override;
    int CreateFile(const QString& fileName) override;
    int Save() override;
    int AcquireWriteLock(const QString& fileName, int waitMs) override;
    void Close() override;
    int CheckMasterPassword(const QString& fileName, const QString& password) override;
    QString GetErrorReason() override { return FErrorReason; }
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
    int Load(const QString& fileName, TContainerContent content, TSecureBuffer passwordDigest);
    // A save lock unless this file holds the write lock already; 0 or a save code.
    int LockForSave(Platform::TFileLock& lock);
    TWriteResult Write(const QString& fileName, TBackupPolicy backup, const TFileKey* previousKey);
    void Track(const QString& fileName, const QByteArray& digest);
    void NotifyChanged();

    std::shared_ptr<TKeyCache> FKeyCache;
    bool FIsMain;
    std::shared_ptr<TTokenStorage> FStorage;
    QString FFileName;
    QByteArray FDigest; // content of the file as last loaded or saved
    // Another program's content that GetModifiedOnDisk reported: Save may replace it.
    std::optional<QByteArray> FSeenDigest;
    TFileKey FWrittenKey;       // the key the file on disk is sealed with
    qsizetype FPayloadSize = 0; // of the last payload read or written
    Platform::TFileLock FWriteLock;
    QString FWriteLockFile; // the file FWriteLock was taken for
    QString FErrorReason;
    std::unique_ptr<TFileWatcher> FWatcher;
    std::mutex FCallbackMutex;
    TFileChangedCallback FOnFileChanged;
    TFileChangedCallback FOnFileChanged2;
};

} // namespace Lockwyn
