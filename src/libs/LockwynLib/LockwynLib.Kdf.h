#pragma once
// Master password -> file key with Argon2id, and a cache so that one unlock
// (check, scratch open, open of the same file with the same password) costs one
// derivation.

#include "LockwynLib.SecureMemory.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace Lockwyn {

constexpr std::size_t KdfSaltSize = 16;
constexpr std::size_t FileKeySize = 32;
using TKdfSalt = std::array<std::uint8_t, KdfSaltSize>;

enum class TKdfAlgorithm : std::uint8_t
{
    kaArgon2id13 = 1,
};

struct TKdfParams
{
    TKdfAlgorithm Algorithm = TKdfAlgorithm::kaArgon2id13;
    std::uint32_t OpsLimit = 0; // passes
    std::uint64_t MemLimit = 0; // bytes

    // libsodium's moderate level: 3 passes over 256 MiB.
    static TKdfParams Default();
    // The smallest Argon2id accepts: for tests, benchmarks and throw-away files.
    static TKdfParams Cheap();
    // Within what this version derives with. Files asking for more are refused
    // rather than letting a crafted header hang or exhaust the machine.
    bool IsValid() const;
    bool operator==(const TKdfParams&) const = default;
};

TKdfSalt RandomSalt();

// The derived key, FileKeySize bytes; empty when the parameters are invalid or
// the memory for the derivation cannot be had.
TSecureBuffer DeriveKey(const TSecureBuffer& password, const TKdfSalt& salt,
                        const TKdfParams& params);

// A hash of the password under a random key of this process: tells passwords
// apart without keeping them, and is worthless outside the process.
TSecureBuffer KeyedPasswordDigest(const TSecureBuffer& password);

// Remembers the keys derived for files about to be opened. Thread-safe.
// Entries are told apart by file identity, salt, parameters and a keyed digest
// of the password (the password itself is not kept).
class TKeyCache
{
public:
    TKeyCache() = default;
    TKeyCache(const TKeyCache&) = delete;
    TKeyCache& operator=(const TKeyCache&) = delete;

    // The cached key, or a fresh derivation that is then cached. Empty on failure.
    TSecureBuffer GetKey(const QString& fileIdentity, const TKdfSalt& salt,
                         const TKdfParams& params, const TSecureBuffer& password);
    // Lets a key derived elsewhere (a new master password) be found later.
    void Put(const QString& fileIdentity, const TKdfSalt& salt, const TKdfParams& params,
             const TSecureBuffer& password, const TSecureBuffer& key);
    // Wipes every cached key.
    void Clear();
    // Number of derivations this cache has run (lets tests prove one per unlock).
    int DerivationCount() const;

private:
    struct TEntry
    {
        QString FileIdentity;
        TKdfSalt Salt{};
        TKdfParams Params;
        TSecureBuffer PasswordDigest;
        TSecureBuffer Key;
    };
    TEntry* Find(const QString& fileIdentity, const TKdfSalt& salt, const TKdfParams& params,
                 const TSecureBuffer& digest);
    void Insert(TEntry entry);

    mutable std::mutex FMutex;
    std::vector<TEntry> FEntries; // newest last
    int FDerivations = 0;
};

} // namespace Lockwyn
