#pragma once
// The database file on disk: a header followed by the payload sealed with
// XChaCha20-Poly1305, the header being the associated data.
//
// Header (little-endian), version 1.x:
//   magic "\x89LWDB\r\n\x1a" | major u16 | minor u16 | header length u32 |
//   KDF algorithm u8 | 3 zero bytes | passes u32 | memory bytes u64 |
//   salt 16 | nonce 24 | key check 32 | [fields of newer minors] | checksum 16
// The key check (a keyed hash of a constant under the file key) tells a wrong
// password from a damaged file; the checksum (BLAKE2b over the header bytes
// before it) tells a damaged header from a wrong password. A newer minor may
// append fields before the checksum; this version skips them. A newer major
// is refused as too new.
//
// Writing goes through Platform::TAtomicFile: once a write has returned
// success, the new content (and the backup of the previous one) is on the
// disk; a kill, a power cut or a full disk before that leaves the previous
// file as it was. New files are readable by their owner only.

#include "LockwynLib.Kdf.h"
#include "LockwynLib.SecureMemory.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>

namespace Lockwyn {

// Values are the codes IDatabaseFile::Open reports.
enum class TContainerResult : int
{
    crOk = 0,
    crMissing = 1,
    crWrongPassword = 2,
    crAccessDenied = 3,
    crFailed = 4,  // read error, out of memory
    crDamaged = 5, // not a Lockwyn database, or damaged
    crTooNew = 6,  // a major format version this one cannot read
};

struct TFormatVersion
{
    std::uint16_t Major = 0;
    std::uint16_t Minor = 0;
    auto operator<=>(const TFormatVersion&) const = default;
};
constexpr TFormatVersion CurrentFormatVersion{1, 0};

constexpr std::size_t NonceSize = 24;
constexpr std::size_t KeyCheckSize = 32;
using TNonce = std::array<std::uint8_t, NonceSize>;
using TKeyCheck = std::array<std::uint8_t, KeyCheckSize>;

// What a file is sealed with: the key and the salt and parameters it came from.
struct TFileKey
{
    TKdfParams Params;
    TKdfSalt Salt{};
    TSecureBuffer Key;

    // A new key for a new master password: fresh salt, one derivation.
    // Empty Key when the derivation fails.
    static TFileKey Create(const TSecureBuffer& password, const TKdfParams& params);
    TFileKey Clone() const;
    bool IsEmpty() const { return Key.IsEmpty(); }
    TKeyCheck KeyCheck() const;
};

struct TContainerHeader
{
    TFormatVersion Version;
    TKdfParams Kdf;
    TKdfSalt Salt{};
    TNonce Nonce{};
    TKeyCheck KeyCheck{};
};

enum class THeaderResult
{
    hrOk,
    hrDamaged,
    hrTooNew,
};

// Parses the header at the start of a file's bytes. On hrOk, headerSize is the
// header's length (the associated data; the ciphertext follows it). On hrTooNew
// header.Version holds the version read.
THeaderResult ParseHeader(QByteArrayView bytes, TContainerHeader& header, qsizetype& headerSize);
QByteArray BuildHeader(const TContainerHeader& header);

// Header plus ciphertext, with a fresh nonce, ready to be written.
QByteArray SealContainer(QByteArrayView payload, const TFileKey& key,
                         TFormatVersion version = CurrentFormatVersion);

// Decrypts a file's bytes with a known key. crWrongPassword when the key does
// not fit the file, crDamaged when the bytes are not an intact container.
TContainerResult UnsealContainer(QByteArrayView fileBytes, const TFileKey& key,
                                 TSecureBuffer& payload);

struct TContainerContent
{
    TContainerResult Result = TContainerResult::crFailed;
    TFormatVersion Version; // as read, also for crTooNew
    TFileKey Key;           // on crOk: the key to save with (no new derivation)
    TSecureBuffer Payload;  // on crOk: the plaintext
    QByteArray Digest;      // on crOk: ContentDigest of the file's bytes
    QString Reason;         // the system's words for a failed read
};

// Reads and decrypts a file. The key comes from the cache, so a check followed
// by an open of the same file with the same password derives once. Never
// changes the file.
TContainerContent ReadContainer(const QString& fileName, const TSecureBuffer& password,
                                TKeyCache& cache);
// The same with a known key; crWrongPassword when the file is sealed with
// another key (another salt or password) now.
TContainerContent ReadContainer(const QString& fileName, const TFileKey& key);

// Like ReadContainer up to the key check, without decrypting the payload.
TContainerResult CheckContainerPassword(const QString& fileName, const TSecureBuffer& password,
                                        TKeyCache& cache);

enum class TBackupPolicy
{
    bpNone,
    bpBestEffort, // keep the previous file as <file>.bak when possible
    bpRequired,   // write nothing unless the previous file could be kept
};

enum class TWriteResult
{
    wrOk,
    wrFolderMissing,
    wrAccessDenied,
    wrBackupFailed,
    wrFailed,       // full disk, I/O error
    wrBeyondLimits, // more than a file may hold
};

// The largest file the reader accepts.
constexpr qint64 MaxContainerSize = qint64(1) << 30;

// Writes sealed bytes (from SealContainer) over fileName; a replaced file
// keeps its permissions. With a backup policy the previous file is kept as
// <file>.bak. When the previous file was sealed with previousKey rather than
// key (the master password changed), the backup is re-sealed with key, so that
// no file left behind opens with the old password. reason: the system's words
// for a failure.
TWriteResult WriteContainerFile(const QString& fileName, QByteArrayView sealed, const TFileKey& key,
                                TBackupPolicy backup, const TFileKey* previousKey = nullptr,
                                QString* reason = nullptr);

QString BackupFileName(const QString& fileName);

// Digest of a file's content for change detection (not of its time stamps).
QByteArray ContentDigest(QByteArrayView bytes);
// Empty when the file cannot be read.
QByteArray FileDigest(const QString& fileName);

// The name that identifies a file for the key cache (absolute, links resolved).
QString FileIdentity(const QString& fileName);

} // namespace Lockwyn
