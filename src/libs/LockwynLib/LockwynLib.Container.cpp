#include "LockwynLib.Container.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <sodium.h>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace Lockwyn {

namespace {

constexpr char Magic[8] = {'\x89', 'L', 'W', 'D', 'B', '\r', '\n', '\x1a'};
constexpr std::size_t ChecksumSize = 16;
constexpr std::size_t FixedHeaderSize = sizeof(Magic) + 2 + 2 + 4 + 1 + 3 + 4 + 8 + KdfSaltSize +
                                        NonceSize + KeyCheckSize + ChecksumSize;
constexpr std::size_t MaxHeaderSize = 64 * 1024;
constexpr qint64 MaxFileSize = qint64(1) << 30;
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

TReadState ReadWholeFile(const QString& fileName, QByteArray& bytes)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return info.isSymLink() ? TReadState::rsNotAFile : TReadState::rsMissing;
    if (!info.isFile() || info.size() > MaxFileSize)
        return TReadState::rsNotAFile;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return info.isReadable() ? TReadState::rsFailed : TReadState::rsAccessDenied;
    bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return TReadState::rsFailed;
    return bytes.size() > MaxFileSize ? TReadState::rsNotAFile : TReadState::rsOk;
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
};

TUnlocked Unlock(const QString& fileName, const TSecureBuffer& password, TKeyCache& cache)
{
    TUnlocked unlocked;
    unlocked.Result = ResultOf(ReadWholeFile(fileName, unlocked.Bytes));
    if (unlocked.Result != TContainerResult::crOk)
        return unlocked;
    qsizetype headerSize = 0;
    unlocked.Result = ResultOf(ParseHeader(unlocked.Bytes, unlocked.Header, headerSize));
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

namespace fs = std::filesystem;

fs::path PathOf(const QString& fileName)
{
    return fs::path(fileName.toStdU16String());
}

// Another name for the previous file's content, put in place atomically.
bool LinkOrCopy(const QString& fileName, const QString& backupName)
{
    const fs::path target = PathOf(backupName);
    fs::path staging = target;
    staging += ".tmp";
    std::error_code error;
    fs::remove(staging, error);
    fs::create_hard_link(PathOf(fileName), staging, error);
    if (error) {
        error.clear();
        fs::copy_file(PathOf(fileName), staging, fs::copy_options::overwrite_existing, error);
    }
    if (!error)
        fs::rename(staging, target, error);
    if (error) {
        fs::remove(staging, error);
        return false;
    }
    return true;
}

bool WriteAtomically(const QString& fileName, QByteArrayView bytes, TWriteResult* failure);

// The previous file, re-sealed under the new key, as the backup.
bool ResealBackup(const QByteArray& previous, const QString& backupName, const TFileKey& key,
                  const TFileKey& previousKey)
{
    TSecureBuffer payload;
    if (UnsealContainer(previous, previousKey, payload) != TContainerResult::crOk)
        return false;
    TContainerHeader header;
    qsizetype headerSize = 0;
    ParseHeader(previous, header, headerSize);
    return WriteAtomically(backupName, SealContainer(payload.View(), key, header.Version), nullptr);
}

bool MakeBackup(const QString& fileName, const TFileKey& key, const TFileKey* previousKey)
{
    const QString backupName = BackupFileName(fileName);
    QByteArray previous;
    if (ReadWholeFile(fileName, previous) != TReadState::rsOk)
        return false;
    TContainerHeader header;
    qsizetype headerSize = 0;
    const bool ownedByPreviousKey =
        previousKey && !previousKey->IsEmpty() &&
        ParseHeader(previous, header, headerSize) == THeaderResult::hrOk &&
        !KeyCheckMatches(header, key) && KeyCheckMatches(header, *previousKey);
    if (ownedByPreviousKey)
        return ResealBackup(previous, backupName, key, *previousKey);
    return LinkOrCopy(fileName, backupName);
}

TWriteResult OpenFailure(const QString& fileName)
{
    const QFileInfo info(fileName);
    const bool denied =
        (info.exists() && !info.isWritable()) || !QFileInfo(info.absolutePath()).isWritable();
    return denied ? TWriteResult::wrAccessDenied : TWriteResult::wrFailed;
}

// Temporary file in the same folder, flushed to disk, renamed over the target.
// beforeCommit runs once the new content is safely written.
template <typename TBeforeCommit>
bool WriteAtomically(const QString& fileName, QByteArrayView bytes, TWriteResult* failure,
                     TBeforeCommit beforeCommit)
{
    const bool isNew = !QFileInfo::exists(fileName);
    QSaveFile file(fileName);
    auto fail = [&](TWriteResult result) {
        file.cancelWriting();
        if (failure)
            *failure = result;
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(OpenFailure(fileName));
    if (isNew && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return fail(TWriteResult::wrFailed);
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return fail(TWriteResult::wrFailed);
    if (!beforeCommit())
        return fail(TWriteResult::wrBackupFailed);
    if (!file.commit()) {
        if (failure)
            *failure = TWriteResult::wrFailed;
        return false;
    }
    return true;
}

bool WriteAtomically(const QString& fileName, QByteArrayView bytes, TWriteResult* failure)
{
    return WriteAtomically(fileName, bytes, failure, [] { return true; });
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

TContainerContent ReadContainer(const QString& fileName, const TSecureBuffer& password,
                                TKeyCache& cache)
{
    TUnlocked unlocked = Unlock(fileName, password, cache);
    TContainerContent content;
    content.Version = unlocked.Header.Version;
    content.Result = unlocked.Result;
    if (content.Result != TContainerResult::crOk)
        return content;
    content.Result = UnsealContainer(unlocked.Bytes, unlocked.Key, content.Payload);
    if (content.Result != TContainerResult::crOk)
        return content;
    content.Key = std::move(unlocked.Key);
    content.Digest = ContentDigest(unlocked.Bytes);
    return content;
}

TContainerResult CheckContainerPassword(const QString& fileName, const TSecureBuffer& password,
                                        TKeyCache& cache)
{
    return Unlock(fileName, password, cache).Result;
}

TWriteResult WriteContainerFile(const QString& fileName, QByteArrayView sealed, const TFileKey& key,
                                TBackupPolicy backup, const TFileKey* previousKey)
{
    const QFileInfo info(fileName);
    if (!QFileInfo(info.absolutePath()).isDir())
        return TWriteResult::wrFolderMissing;
    if (info.exists() && !info.isFile())
        return TWriteResult::wrFailed;
    const bool keepPrevious = backup != TBackupPolicy::bpNone && info.exists();
    TWriteResult result = TWriteResult::wrOk;
    WriteAtomically(fileName, sealed, &result, [&] {
        if (!keepPrevious || MakeBackup(fileName, key, previousKey))
            return true;
        return backup != TBackupPolicy::bpRequired;
    });
    return result;
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
