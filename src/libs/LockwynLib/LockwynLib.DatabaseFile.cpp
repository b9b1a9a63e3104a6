#include "LockwynLib.DatabaseFile.h"

#include "LockwynLib.FileWatcher.h"
#include "LockwynLib.PayloadCodec.h"
#include "LockwynLib.TokenGroup.h"
#include "LockwynLib.TokenStorage.h"

#include <QFileInfo>

namespace Lockwyn {

namespace {

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
    case TWriteResult::wrFailed:
        break;
    }
    return DatabaseFileCode::CreateWriteFailed;
}

bool SameKey(const TFileKey& left, const TFileKey& right)
{
    return left.Salt == right.Salt && left.Params == right.Params && left.Key.Equals(right.Key);
}

} // namespace

TDatabaseFile::TDatabaseFile(std::shared_ptr<TKeyCache> keyCache, bool isMain)
    : FKeyCache(std::move(keyCache)), FIsMain(isMain), FStorage(std::make_shared<TTokenStorage>())
{
    if (FIsMain)
        FStorage->SetOnClear([cache = FKeyCache] { cache->Clear(); });
}

TDatabaseFile::~TDatabaseFile()
{
    FWatcher.reset();
    FStorage->SetOnClear(nullptr);
}

int TDatabaseFile::Open(const QString& fileName, const QString& password)
{
    TSecureBuffer secret = TSecureBuffer::FromString(password);
    TContainerContent content = ReadContainer(fileName, secret, *FKeyCache);
    if (content.Result != TContainerResult::crOk)
        return int(content.Result);
    auto root = UnpackPayload(content.Payload.View(), &FPayloadSize);
    content.Payload.Clear();
    if (!root)
        return DatabaseFileCode::OpenDamaged;
    FWrittenKey = content.Key.Clone();
    FStorage->Load(std::move(root), std::move(content.Key), std::move(secret), content.Version);
    Track(QFileInfo(fileName).absoluteFilePath(), content.Digest);
    return DatabaseFileCode::Ok;
}

int TDatabaseFile::CreateFile(const QString& fileName)
{
    if (FStorage->Password().IsEmpty())
        return DatabaseFileCode::CreateEmptyPassword;
    if (!QFileInfo(QFileInfo(fileName).absolutePath()).isDir())
        return DatabaseFileCode::CreateFolderMissing;
    return Write(QFileInfo(fileName).absoluteFilePath(), TBackupPolicy::bpRequired, nullptr);
}

int TDatabaseFile::Save()
{
    if (!GetOpened())
        return DatabaseFileCode::SaveNotOpened;
    if (FStorage->Key().IsEmpty())
        return DatabaseFileCode::SaveWriteFailed;
    const bool rekeyed = !SameKey(FWrittenKey, FStorage->Key());
    return Write(FFileName, TBackupPolicy::bpBestEffort, rekeyed ? &FWrittenKey : nullptr);
}

int TDatabaseFile::Write(const QString& fileName, TBackupPolicy backup, const TFileKey* previousKey)
{
    QByteArray packed = PackPayload(FStorage->Root(), FPayloadSize);
    const QByteArray sealed = SealContainer(packed, FStorage->Key());
    SecureWipe(packed);
    const QByteArray digest = ContentDigest(sealed);
    if (FWatcher && fileName == FFileName)
        FWatcher->SetKnownDigest(digest);
    const TWriteResult result =
        WriteContainerFile(fileName, sealed, FStorage->Key(), backup, previousKey);
    if (result != TWriteResult::wrOk) {
        if (FWatcher && fileName == FFileName)
            FWatcher->SetKnownDigest(FDigest);
        return CreateCode(result);
    }
    FWrittenKey = FStorage->Key().Clone();
    Track(fileName, digest);
    return DatabaseFileCode::Ok;
}

void TDatabaseFile::Track(const QString& fileName, const QByteArray& digest)
{
    FFileName = fileName;
    FDigest = digest;
    if (!FWatcher)
        FWatcher = std::make_unique<TFileWatcher>([this] { NotifyChanged(); });
    FWatcher->Watch(fileName, digest);
}

void TDatabaseFile::Close()
{
    if (FWatcher)
        FWatcher->Stop();
    FFileName.clear();
    FDigest.clear();
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
    return GetOpened() && FileDigest(FFileName) != FDigest;
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
