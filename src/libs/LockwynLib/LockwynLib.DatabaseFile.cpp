#include "LockwynLib.DatabaseFile.h"

#include "LockwynLib.FileWatcher.h"
#include "LockwynLib.PayloadCodec.h"
#include "LockwynLib.TokenGroup.h"
#include "LockwynLib.TokenStorage.h"

#include "Platform.Memory.h"

#include <QFileInfo>

namespace Lockwyn {

namespace {

using Platform::TFileLock;

class TDatabaseKey : public IDatabaseKey
{
public:
    TDatabaseKey(TFileKey key, TSecureBuffer passwordDigest)
        : Key(std::move(key)), PasswordDigest(std::move(passwordDigest))
    {
    }
    const TFileKey Key;
    const TSecureBuffer PasswordDigest;
};

int CreateCode(TWriteResult result)
{
    switch (result) {
    case TWriteResult::wrOk:
        return DatabaseFileCode::Ok;
    case TWriteResult::wrFolderMissing:
        return DatabaseFileCode::CreateFolderMissing;
    case TWriteResult::wrBackupFailed:
        return DatabaseFileCode::CreateBackupFailed;
    case TWriteResult::wrAccessDenied:
        return DatabaseFileCode::CreateAccessDenied;
    case TWriteResult::wrBeyondLimits:
        return DatabaseFileCode::CreateBeyondLimits;
    case TWriteResult::wrFailed:
        break;
    }
    return DatabaseFileCode::CreateWriteFailed;
}

int SaveCode(TWriteResult result)
{
    switch (result) {
    case TWriteResult::wrOk:
        return DatabaseFileCode::Ok;
    case TWriteResult::wrAccessDenied:
        return DatabaseFileCode::SaveAccessDenied;
    case TWriteResult::wrBeyondLimits:
        return DatabaseFileCode::SaveBeyondLimits;
    case TWriteResult::wrFolderMissing: // the folder went away since the file was opened
    case TWriteResult::wrBackupFailed:  // saves keep a backup where they can, not required
    case TWriteResult::wrFailed:
        break;
    }
    return DatabaseFileCode::SaveWriteFailed;
}

// Takes a lock; 0 or a TLockCode, the system's words for a failure in reason.
int TakeLock(TFileLock& lock, const QString& fileName, std::chrono::milliseconds wait,
             QString& reason)
{
    switch (lock.Acquire(fileName, wait)) {
    case TFileLock::TResult::lrLocked:
        return DatabaseFileCode::Ok;
    case TFileLock::TResult::lrBusy:
        return DatabaseFileCode::LockBusy;
    case TFileLock::TResult::lrMissing:
        return DatabaseFileCode::LockFileMissing;
    case TFileLock::TResult::lrFailed:
        break;
    }
    reason = lock.Error().Reason;
    return lock.Error().Kind == Platform::TFileErrorKind::fekAccessDenied
               ? DatabaseFileCode::LockAccessDenied
               : DatabaseFileCode::LockFailed;
}

bool SameKey(const TFileKey& left, const TFileKey& right)
{
    return left.Salt == right.Salt && left.Params == right.Params && left.Key.Equals(right.Key);
}

} // namespace

TDatabaseFile::TDatabaseFile(std::shared_ptr<TKeyCache> keyCache, bool isMain)
    : FKeyCache(std::move(keyCache)), FIsMain(isMain), FStorage(std::make_shared<TTokenStorage>())
{
    // The program's own database going away leaves nothing of it in freed
    // memory either.
    if (FIsMain)
        FStorage->SetOnClear([cache = FKeyCache] {
            cache->Clear();
            Platform::ScrubFreedMemory();
        });
}

TDatabaseFile::~TDatabaseFile()
{
    FWatcher.reset();
    FStorage->SetOnClear(nullptr);
}

int TDatabaseFile::Open(const QString& fileName, const QString& password)
{
    const TSecureBuffer secret = TSecureBuffer::FromString(password);
    return Load(fileName, ReadContainer(fileName, secret, *FKeyCache), KeyedPasswordDigest(secret));
}

int TDatabaseFile::OpenWithKey(const QString& fileName, const std::shared_ptr<IDatabaseKey>& key)
{
    const auto own = std::dynamic_pointer_cast<TDatabaseKey>(key);
    if (!own)
        return DatabaseFileCode::OpenWrongPassword;
    return Load(fileName, ReadContainer(fileName, own->Key), own->PasswordDigest.Clone());
}

int TDatabaseFile::Load(const QString& fileName, TContainerContent content,
                        TSecureBuffer passwordDigest)
{
    FErrorReason = content.Reason;
    if (content.Result != TContainerResult::crOk)
        return int(content.Result);
    auto root = UnpackPayload(content.Payload.View(), &FPayloadSize);
    content.Payload.Clear();
    if (!root)
        return DatabaseFileCode::OpenDamaged;
    FWrittenKey = content.Key.Clone();
    FStorage->Load(std::move(root), std::move(content.Key), std::move(passwordDigest),
                   content.Version);
    Track(QFileInfo(fileName).absoluteFilePath(), content.Digest);
    return DatabaseFileCode::Ok;
}

// The key of the file on disk; the digest only while the storage still has
// that key (a new master password not yet saved has another).
std::shared_ptr<IDatabaseKey> TDatabaseFile::GetKey()
{
    if (!GetOpened() || FWrittenKey.IsEmpty())
        return nullptr;
    const bool current = SameKey(FWrittenKey, FStorage->Key());
    return std::make_shared<TDatabaseKey>(
        FWrittenKey.Clone(), current ? FStorage->PasswordDigest().Clone() : TSecureBuffer());
}

int TDatabaseFile::CreateFile(const QString& fileName)
{
    FErrorReason.clear();
    if (FStorage->Key().IsEmpty())
        return DatabaseFileCode::CreateEmptyPassword;
    if (!QFileInfo(QFileInfo(fileName).absolutePath()).isDir())
        return DatabaseFileCode::CreateFolderMissing;
    return CreateCode(
        Write(QFileInfo(fileName).absoluteFilePath(), TBackupPolicy::bpRequired, nullptr));
}

int TDatabaseFile::Save()
{
    FErrorReason.clear();
    if (!GetOpened())
        return DatabaseFileCode::SaveNotOpened;
    if (FStorage->Key().IsEmpty())
        return DatabaseFileCode::SaveWriteFailed;
    TFileLock saveLock;
    if (const int code = LockForSave(saveLock))
        return code;
    const QByteArray onDisk = FileDigest(FFileName);
    if (onDisk != FDigest && FSeenDigest != onDisk)
        return DatabaseFileCode::SaveChangedOnDisk;
    const bool rekeyed = !SameKey(FWrittenKey, FStorage->Key());
    const TWriteResult result =
        Write(FFileName, TBackupPolicy::bpBestEffort, rekeyed ? &FWrittenKey : nullptr);
    if (result == TWriteResult::wrOk)
        FWriteLock.Release(); // the read-modify-write it was taken for is done
    return SaveCode(result);
}

int TDatabaseFile::LockForSave(TFileLock& lock)
{
    if (FWriteLock.IsHeld() && FWriteLockFile == FFileName)
        return DatabaseFileCode::Ok;
    switch (TakeLock(lock, FFileName, SaveLockWait, FErrorReason)) {
    case DatabaseFileCode::Ok:
    case DatabaseFileCode::LockFileMissing: // nothing there to protect
        return DatabaseFileCode::Ok;
    case DatabaseFileCode::LockBusy:
        return DatabaseFileCode::SaveBusy;
    case DatabaseFileCode::LockAccessDenied:
        return DatabaseFileCode::SaveAccessDenied;
    default:
        return DatabaseFileCode::SaveWriteFailed;
    }
}

int TDatabaseFile::AcquireWriteLock(const QString& fileName, int waitMs)
{
    FErrorReason.clear();
    const auto wait = waitMs < 0 ? TFileLock::WaitForever : std::chrono::milliseconds(waitMs);
    const int code = TakeLock(FWriteLock, fileName, wait, FErrorReason);
    if (code == DatabaseFileCode::Ok)
        FWriteLockFile = QFileInfo(fileName).absoluteFilePath();
    return code;
}

TWriteResult TDatabaseFile::Write(const QString& fileName, TBackupPolicy backup,
                                  const TFileKey* previousKey)
{
    QByteArray packed;
    try {
        packed = PackPayload(FStorage->Root(), FPayloadSize);
    } catch (const std::length_error& error) {
        FErrorReason = QString::fromUtf8(error.what());
        return TWriteResult::wrBeyondLimits;
    }
    const QByteArray sealed = SealContainer(packed, FStorage->Key());
    SecureWipe(packed);
    const QByteArray digest = ContentDigest(sealed);
    if (FWatcher && fileName == FFileName)
        FWatcher->SetKnownDigest(digest);
    const TWriteResult result =
        WriteContainerFile(fileName, sealed, FStorage->Key(), backup, previousKey, &FErrorReason);
    if (result != TWriteResult::wrOk) {
        if (FWatcher && fileName == FFileName)
            FWatcher->SetKnownDigest(FDigest);
        return result;
    }
    FWrittenKey = FStorage->Key().Clone();
    Track(fileName, digest);
    return TWriteResult::wrOk;
}

void TDatabaseFile::Track(const QString& fileName, const QByteArray& digest)
{
    FFileName = fileName;
    FDigest = digest;
    FSeenDigest.reset();
    if (!FWatcher)
        FWatcher = std::make_unique<TFileWatcher>([this] { NotifyChanged(); });
    FWatcher->Watch(fileName, digest);
}

void TDatabaseFile::Close()
{
    if (FWatcher)
        FWatcher->Stop();
    FWriteLock.Release();
    FFileName.clear();
    FDigest.clear();
    FSeenDigest.reset();
    FWrittenKey = TFileKey();
    FStorage->WipeSecrets();
    if (FIsMain)
        FKeyCache->Clear();
}

int TDatabaseFile::CheckMasterPassword(const QString& fileName, const QString& password)
{
    const TSecureBuffer secret = TSecureBuffer::FromString(password);
    return int(CheckContainerPassword(fileName, secret, *FKeyCache));
}

bool TDatabaseFile::GetModifiedOnDisk()
{
    if (!GetOpened())
        return false;
    const QByteArray onDisk = FileDigest(FFileName);
    if (onDisk == FDigest)
        return false;
    FSeenDigest = onDisk;
    return true;
}

void TDatabaseFile::SetOnFileChanged(const TFileChangedCallback& callback)
{
    std::lock_guard lock(FCallbackMutex);
    FOnFileChanged = callback;
}

void TDatabaseFile::SetOnFileChanged2(const TFileChangedCallback& callback)
{
    std::lock_guard lock(FCallbackMutex);
    FOnFileChanged2 = callback;
}

void TDatabaseFile::NotifyChanged()
{
    TFileChangedCallback first;
    TFileChangedCallback second;
    {
        std::lock_guard lock(FCallbackMutex);
        first = FOnFileChanged;
        second = FOnFileChanged2;
    }
    if (first)
        first();
    if (second)
        second();
}

std::shared_ptr<IDatabaseFile> TDatabaseFile::CreateScratchFile()
{
    auto scratch = std::make_shared<TDatabaseFile>(FKeyCache, false);
    scratch->FStorage->SetKdfParams(FStorage->KdfParams());
    return scratch;
}

std::shared_ptr<ITokenStorage> TDatabaseFile::GetTokenStorage()
{
    return FStorage;
}

TKeyDerivationSettings TDatabaseFile::GetKeyDerivationSettings()
{
    const TKdfParams params = FStorage->KdfParams();
    return {params.OpsLimit, params.MemLimit};
}

void TDatabaseFile::SetKeyDerivationSettings(const TKeyDerivationSettings& settings)
{
    TKdfParams params;
    params.OpsLimit = std::uint32_t(qMin<std::uint64_t>(settings.OpsLimit, UINT32_MAX));
    params.MemLimit = settings.MemLimit;
    if (!params.IsValid())
        throw std::invalid_argument("Key derivation settings out of range");
    FStorage->SetKdfParams(params);
}

} // namespace Lockwyn
