#include "LockwynLib.Container.h"

#include "Platform.AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <sodium.h>

#include <cstring>
#include <functional>

namespace Lockwyn {

namespace {

constexpr char Magic[8] = {'\x89', 'L', 'W', 'D', 'B', '\r', '\n', '\x1a'};
constexpr std::size_t ChecksumSize = 16;
constexpr std::size_t FixedHeaderSize = sizeof(Magic) + 2 + 2 + 4 + 1 + 3 + 4 + 8 + KdfSaltSize +
                                        NonceSize + KeyCheckSize + ChecksumSize;
constexpr std::size_t MaxHeaderSize = 64 * 1024;
constexpr std::size_t TagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr char KeyCheckContext[] = "Lockwyn file key check v1";

static_assert(NonceSize == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
static_assert(FileKeySize == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);

// Appends little-endian fields to a byte array.
class TWriter
{
public:
    explicit TWriter(QByteArray& out) : FOut(out) {}
    void Bytes(const void* data, std::size_t size)
    {
        FOut.append(static_cast<const char*>(data), qsizetype(size));
    }
    template <typename T> void Int(T value)
    {
        T le = qToLittleEndian(value);
        Bytes(&le, sizeof(le));
    }

private:
    QByteArray& FOut;
};

// Reads little-endian fields; a read past the end marks the reader as failed.
class TReader
{
public:
    explicit TReader(QByteArrayView in) : FIn(in) {}
    bool Bytes(void* data, std::size_t size)
    {
        if (FFailed || std::size_t(FIn.size() - FPos) < size) {
            FFailed = true;
            return false;
        }
        std::memcpy(data, FIn.data() + FPos, size);
        FPos += qsizetype(size);
        return true;
    }
    template <typename T> T Int()
    {
        T le{};
        Bytes(&le, sizeof(le));
        return qFromLittleEndian(le);
    }
    bool Failed() const { return FFailed; }

private:
    QByteArrayView FIn;
    qsizetype FPos = 0;
    bool FFailed = false;
};

std::array<std::uint8_t, ChecksumSize> Checksum(QByteArrayView bytes)
{
    std::array<std::uint8_t, ChecksumSize> sum;
    crypto_generichash(sum.data(), sum.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                       std::size_t(bytes.size()), nullptr, 0);
    return sum;
}

bool ChecksumMatches(QByteArrayView bytes, std::size_t headerSize)
{
    const auto expected = Checksum(bytes.first(qsizetype(headerSize - ChecksumSize)));
    return sodium_memcmp(expected.data(), bytes.data() + headerSize - ChecksumSize, ChecksumSize) ==
           0;
}

bool KeyCheckMatches(const TContainerHeader& header, const TFileKey& key)
{
    const TKeyCheck check = key.KeyCheck();
    return sodium_memcmp(check.data(), header.KeyCheck.data(), check.size()) == 0;
}

enum class TReadState
{
    rsOk,
    rsMissing,
    rsAccessDenied,
    rsNotAFile,
    rsFailed,
};

TReadState ReadWholeFile(const QString& fileName, QByteArray& bytes, QString* reason = nullptr)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return info.isSymLink() ? TReadState::rsNotAFile : TReadState::rsMissing;
    if (!info.isFile() || info.size() > MaxContainerSize)
        return TReadState::rsNotAFile;
    QFile file(fileName);
    auto fail = [&](TReadState state) {
        if (reason)
            *reason = file.errorString();
        return state;
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail(info.isReadable() ? TReadState::rsFailed : TReadState::rsAccessDenied);
    // Room for the size the file has (and a byte to see it grow), not for the
    // largest file: the hardened heap would fill all of that.
    bytes = file.read(qMin(file.size(), MaxContainerSize) + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(TReadState::rsFailed);
    return bytes.size() > MaxContainerSize ? TReadState::rsNotAFile : TReadState::rsOk;
}

TContainerResult ResultOf(TReadState state)
{
    switch (state) {
    case TReadState::rsOk:
        return TContainerResult::crOk;
    case TReadState::rsMissing:
        return TContainerResult::crMissing;
    case TReadState::rsAccessDenied:
        return TContainerResult::crAccessDenied;
    case TReadState::rsNotAFile:
        return TContainerResult::crDamaged;
    case TReadState::rsFailed:
        break;
    }
    return TContainerResult::crFailed;
}

TContainerResult ResultOf(THeaderResult result)
{
    switch (result) {
    case THeaderResult::hrOk:
        return TContainerResult::crOk;
    case THeaderResult::hrTooNew:
        return TContainerResult::crTooNew;
    case THeaderResult::hrDamaged:
        break;
    }
    return TContainerResult::crDamaged;
}

// The file's header and the key that fits it, as far as a password check goes.
struct TUnlocked
{
    TContainerResult Result = TContainerResult::crFailed;
    QByteArray Bytes;
    TContainerHeader Header;
    TFileKey Key;
    QString Reason;
};

// The file's bytes and its parsed header.
TUnlocked ReadHeader(const QString& fileName)
{
    TUnlocked unlocked;
    unlocked.Result = ResultOf(ReadWholeFile(fileName, unlocked.Bytes, &unlocked.Reason));
    if (unlocked.Result != TContainerResult::crOk)
        return unlocked;
    qsizetype headerSize = 0;
    unlocked.Result = ResultOf(ParseHeader(unlocked.Bytes, unlocked.Header, headerSize));
    return unlocked;
}

TUnlocked Unlock(const QString& fileName, const TSecureBuffer& password, TKeyCache& cache)
{
    TUnlocked unlocked = ReadHeader(fileName);
    if (unlocked.Result != TContainerResult::crOk)
        return unlocked;
    unlocked.Key.Params = unlocked.Header.Kdf;
    unlocked.Key.Salt = unlocked.Header.Salt;
    unlocked.Key.Key =
        cache.GetKey(FileIdentity(fileName), unlocked.Header.Salt, unlocked.Header.Kdf, password);
    if (unlocked.Key.IsEmpty())
        unlocked.Result = TContainerResult::crFailed;
    else if (!KeyCheckMatches(unlocked.Header, unlocked.Key))
        unlocked.Result = TContainerResult::crWrongPassword;
    return unlocked;
}

using Platform::TAtomicFile;
using Platform::TFileError;
using Platform::TFileErrorKind;

// Writes bytes over fileName; beforeReplace runs once they are on the disk.
bool WriteDurably(const QString& fileName, QByteArrayView bytes,
                  TAtomicFile::TPermissions permissions, TFileError& error,
                  const std::function<bool(TFileError&)>& beforeReplace = {})
{
    TAtomicFile file(fileName, permissions);
    const bool written = file.Open() && file.Write(bytes) && file.Commit(beforeReplace);
    error = file.Error();
    return written;
}

// Another name for the previous file's content, put in place atomically: a
// hard link where the file system has them, a durable copy otherwise. The
// link's name is made durable by the folder flush that follows the rename of
// the new file over the old one (the same folder), so that when a save
// returns, both are on the disk.
bool LinkOrCopy(const QString& fileName, const QByteArray& content, const QString& backupName,
                TFileError& error)
{
    const QString staging = backupName + QStringLiteral(".tmp");
    QFile::remove(staging);
    if (!Platform::LinkFile(fileName, staging, error))
        return WriteDurably(backupName, content, TAtomicFile::TPermissions::apOwnerOnly, error);
    if (Platform::ReplaceFile(staging, backupName, error))
        return true;
    QFile::remove(staging);
    return false;
}

// The previous file, re-sealed under the new key, as the backup.
bool ResealBackup(const QByteArray& previous, const QString& backupName, const TFileKey& key,
                  const TFileKey& previousKey, TFileError& error)
{
    TSecureBuffer payload;
    if (UnsealContainer(previous, previousKey, payload) != TContainerResult::crOk) {
        error = {TFileErrorKind::fekFailed, QStringLiteral("The previous file cannot be read")};
        return false;
    }
    TContainerHeader header;
    qsizetype headerSize = 0;
    ParseHeader(previous, header, headerSize);
    return WriteDurably(backupName, SealContainer(payload.View(), key, header.Version),
                        TAtomicFile::TPermissions::apOwnerOnly, error);
}

bool MakeBackup(const QString& fileName, const TFileKey& key, const TFileKey* previousKey,
                TFileError& error)
{
    const QString backupName = BackupFileName(fileName);
    QByteArray previous;
    if (ReadWholeFile(fileName, previous, &error.Reason) != TReadState::rsOk) {
        error.Kind = TFileErrorKind::fekFailed;
        return false;
    }
    TContainerHeader header;
    qsizetype headerSize = 0;
    const bool ownedByPreviousKey =
        previousKey && !previousKey->IsEmpty() &&
        ParseHeader(previous, header, headerSize) == THeaderResult::hrOk &&
        !KeyCheckMatches(header, key) && KeyCheckMatches(header, *previousKey);
    if (ownedByPreviousKey)
        return ResealBackup(previous, backupName, key, *previousKey, error);
    return LinkOrCopy(fileName, previous, backupName, error);
}

TWriteResult ResultOf(const TFileError& error)
{
    switch (error.Kind) {
    case TFileErrorKind::fekMissing:
        return TWriteResult::wrFolderMissing;
    case TFileErrorKind::fekAccessDenied:
        return TWriteResult::wrAccessDenied;
    case TFileErrorKind::fekNone:
    case TFileErrorKind::fekFailed:
        break;
    }
    return TWriteResult::wrFailed;
}

} // namespace

TFileKey TFileKey::Create(const TSecureBuffer& password, const TKdfParams& params)
{
    TFileKey key;
    key.Params = params;
    key.Salt = RandomSalt();
    key.Key = DeriveKey(password, key.Salt, params);
    return key;
}

TFileKey TFileKey::Clone() const
{
    TFileKey copy;
    copy.Params = Params;
    copy.Salt = Salt;
    copy.Key = Key.Clone();
    return copy;
}

TKeyCheck TFileKey::KeyCheck() const
{
    TKeyCheck check;
    crypto_generichash(check.data(), check.size(),
                       reinterpret_cast<const unsigned char*>(KeyCheckContext),
                       sizeof(KeyCheckContext) - 1, Key.Data(), Key.Size());
    return check;
}

THeaderResult ParseHeader(QByteArrayView bytes, TContainerHeader& header, qsizetype& headerSize)
{
    EnsureSodium();
    TReader reader(bytes);
    char magic[sizeof(Magic)];
    if (!reader.Bytes(magic, sizeof(magic)) || std::memcmp(magic, Magic, sizeof(Magic)) != 0)
        return THeaderResult::hrDamaged;
    header.Version.Major = reader.Int<std::uint16_t>();
    header.Version.Minor = reader.Int<std::uint16_t>();
    if (reader.Failed() || header.Version.Major == 0)
        return THeaderResult::hrDamaged;
    if (header.Version.Major > CurrentFormatVersion.Major)
        return THeaderResult::hrTooNew;
    const std::uint32_t size = reader.Int<std::uint32_t>();
    if (reader.Failed() || size < FixedHeaderSize || size > MaxHeaderSize ||
        size > std::size_t(bytes.size()) || !ChecksumMatches(bytes, size))
        return THeaderResult::hrDamaged;
    header.Kdf.Algorithm = TKdfAlgorithm(reader.Int<std::uint8_t>());
    std::uint8_t reserved[3];
    reader.Bytes(reserved, sizeof(reserved));
    header.Kdf.OpsLimit = reader.Int<std::uint32_t>();
    header.Kdf.MemLimit = reader.Int<std::uint64_t>();
    reader.Bytes(header.Salt.data(), header.Salt.size());
    reader.Bytes(header.Nonce.data(), header.Nonce.size());
    reader.Bytes(header.KeyCheck.data(), header.KeyCheck.size());
    if (reader.Failed() || !header.Kdf.IsValid())
        return THeaderResult::hrDamaged;
    headerSize = qsizetype(size);
    return THeaderResult::hrOk;
}

QByteArray BuildHeader(const TContainerHeader& header)
{
    QByteArray out;
    out.reserve(qsizetype(FixedHeaderSize));
    TWriter writer(out);
    writer.Bytes(Magic, sizeof(Magic));
    writer.Int<std::uint16_t>(header.Version.Major);
    writer.Int<std::uint16_t>(header.Version.Minor);
    writer.Int<std::uint32_t>(FixedHeaderSize);
    writer.Int<std::uint8_t>(std::uint8_t(header.Kdf.Algorithm));
    const std::uint8_t reserved[3] = {};
    writer.Bytes(reserved, sizeof(reserved));
    writer.Int<std::uint32_t>(header.Kdf.OpsLimit);
    writer.Int<std::uint64_t>(header.Kdf.MemLimit);
    writer.Bytes(header.Salt.data(), header.Salt.size());
    writer.Bytes(header.Nonce.data(), header.Nonce.size());
    writer.Bytes(header.KeyCheck.data(), header.KeyCheck.size());
    const auto checksum = Checksum(out);
    writer.Bytes(checksum.data(), checksum.size());
    return out;
}

QByteArray SealContainer(QByteArrayView payload, const TFileKey& key, TFormatVersion version)
{
    EnsureSodium();
    TContainerHeader header;
    header.Version = version;
    header.Kdf = key.Params;
    header.Salt = key.Salt;
    randombytes_buf(header.Nonce.data(), header.Nonce.size());
    header.KeyCheck = key.KeyCheck();
    QByteArray out = BuildHeader(header);
    const qsizetype headerSize = out.size();
    out.resize(headerSize + payload.size() + qsizetype(TagSize));
    auto* cipher = reinterpret_cast<unsigned char*>(out.data()) + headerSize;
    unsigned long long cipherSize = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        cipher, &cipherSize, reinterpret_cast<const unsigned char*>(payload.data()),
        std::size_t(payload.size()), reinterpret_cast<const unsigned char*>(out.constData()),
        std::size_t(headerSize), nullptr, header.Nonce.data(), key.Key.Data());
    return out;
}

TContainerResult UnsealContainer(QByteArrayView fileBytes, const TFileKey& key,
                                 TSecureBuffer& payload)
{
    TContainerHeader header;
    qsizetype headerSize = 0;
    const TContainerResult parsed = ResultOf(ParseHeader(fileBytes, header, headerSize));
    if (parsed != TContainerResult::crOk)
        return parsed;
    if (key.IsEmpty() || !KeyCheckMatches(header, key))
        return TContainerResult::crWrongPassword;
    const QByteArrayView cipher = fileBytes.sliced(headerSize);
    if (std::size_t(cipher.size()) < TagSize)
        return TContainerResult::crDamaged;
    TSecureBuffer plain(std::size_t(cipher.size()) - TagSize);
    unsigned long long plainSize = 0;
    const int rc = crypto_aead_xchacha20poly1305_ietf_decrypt(
        plain.Data(), &plainSize, nullptr, reinterpret_cast<const unsigned char*>(cipher.data()),
        std::size_t(cipher.size()), reinterpret_cast<const unsigned char*>(fileBytes.data()),
        std::size_t(headerSize), header.Nonce.data(), key.Key.Data());
    if (rc != 0)
        return TContainerResult::crDamaged;
    plain.Truncate(std::size_t(plainSize));
    payload = std::move(plain);
    return TContainerResult::crOk;
}

namespace {

TContainerContent Decrypt(TUnlocked unlocked)
{
    TContainerContent content;
    content.Version = unlocked.Header.Version;
    content.Result = unlocked.Result;
    content.Reason = unlocked.Reason;
    if (content.Result != TContainerResult::crOk)
        return content;
    content.Result = UnsealContainer(unlocked.Bytes, unlocked.Key, content.Payload);
    if (content.Result != TContainerResult::crOk)
        return content;
    content.Key = std::move(unlocked.Key);
    content.Digest = ContentDigest(unlocked.Bytes);
    return content;
}

} // namespace

TContainerContent ReadContainer(const QString& fileName, const TSecureBuffer& password,
                                TKeyCache& cache)
{
    return Decrypt(Unlock(fileName, password, cache));
}

TContainerContent ReadContainer(const QString& fileName, const TFileKey& key)
{
    TUnlocked unlocked = ReadHeader(fileName);
    if (unlocked.Result == TContainerResult::crOk) {
        const bool sameKey = unlocked.Header.Salt == key.Salt &&
                             unlocked.Header.Kdf == key.Params && !key.IsEmpty() &&
                             KeyCheckMatches(unlocked.Header, key);
        if (sameKey)
            unlocked.Key = key.Clone();
        else
            unlocked.Result = TContainerResult::crWrongPassword;
    }
    return Decrypt(std::move(unlocked));
}

TContainerResult CheckContainerPassword(const QString& fileName, const TSecureBuffer& password,
                                        TKeyCache& cache)
{
    return Unlock(fileName, password, cache).Result;
}

TWriteResult WriteContainerFile(const QString& fileName, QByteArrayView sealed, const TFileKey& key,
                                TBackupPolicy backup, const TFileKey* previousKey, QString* reason)
{
    if (sealed.size() > MaxContainerSize)
        return TWriteResult::wrBeyondLimits;
    // A missing folder is found by the writer, which gives the system's reason.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile())
        return TWriteResult::wrFailed;
    const bool keepPrevious = backup != TBackupPolicy::bpNone && info.exists();
    bool backupFailed = false;
    TFileError error;
    const bool written =
        WriteDurably(fileName, sealed, TAtomicFile::TPermissions::apKeepExisting, error,
                     [&](TFileError& backupError) {
                         if (!keepPrevious || MakeBackup(fileName, key, previousKey, backupError))
                             return true;
                         if (backup != TBackupPolicy::bpRequired) {
                             backupError = {}; // the save goes on without a backup
                             return true;
                         }
                         backupFailed = true;
                         return false;
                     });
    if (written)
        return TWriteResult::wrOk;
    if (reason)
        *reason = error.Reason;
    return backupFailed ? TWriteResult::wrBackupFailed : ResultOf(error);
}

QString BackupFileName(const QString& fileName)
{
    return fileName + QStringLiteral(".bak");
}

QByteArray ContentDigest(QByteArrayView bytes)
{
    EnsureSodium();
    QByteArray digest(crypto_generichash_BYTES, Qt::Uninitialized);
    crypto_generichash(reinterpret_cast<unsigned char*>(digest.data()), std::size_t(digest.size()),
                       reinterpret_cast<const unsigned char*>(bytes.data()),
                       std::size_t(bytes.size()), nullptr, 0);
    return digest;
}

QByteArray FileDigest(const QString& fileName)
{
    QByteArray bytes;
    if (ReadWholeFile(fileName, bytes) != TReadState::rsOk)
        return {};
    return ContentDigest(bytes);
}

QString FileIdentity(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace Lockwyn
