#include "LockwynLib.Kdf.h"

#include <sodium.h>

#include <algorithm>

namespace Lockwyn {

namespace {

constexpr std::uint32_t MaxOpsLimit = 16;
constexpr std::uint64_t MaxMemLimit = std::uint64_t(2) << 30;
constexpr std::size_t MaxCachedKeys = 4;
constexpr std::size_t PasswordDigestSize = 32;

} // namespace

TKdfParams TKdfParams::Default()
{
    return {TKdfAlgorithm::kaArgon2id13, crypto_pwhash_argon2id_OPSLIMIT_MODERATE,
            crypto_pwhash_argon2id_MEMLIMIT_MODERATE};
}

TKdfParams TKdfParams::Cheap()
{
    return {TKdfAlgorithm::kaArgon2id13, crypto_pwhash_argon2id_OPSLIMIT_MIN,
            crypto_pwhash_argon2id_MEMLIMIT_MIN};
}

bool TKdfParams::IsValid() const
{
    return Algorithm == TKdfAlgorithm::kaArgon2id13 &&
           OpsLimit >= crypto_pwhash_argon2id_OPSLIMIT_MIN && OpsLimit <= MaxOpsLimit &&
           MemLimit >= crypto_pwhash_argon2id_MEMLIMIT_MIN && MemLimit <= MaxMemLimit;
}

TKdfSalt RandomSalt()
{
    EnsureSodium();
    TKdfSalt salt;
    randombytes_buf(salt.data(), salt.size());
    return salt;
}

TSecureBuffer DeriveKey(const TSecureBuffer& password, const TKdfSalt& salt,
                        const TKdfParams& params)
{
    static_assert(KdfSaltSize == crypto_pwhash_argon2id_SALTBYTES);
    if (!params.IsValid())
        return {};
    TSecureBuffer key(FileKeySize);
    const int rc = crypto_pwhash(
        key.Data(), key.Size(), reinterpret_cast<const char*>(password.Data()), password.Size(),
        salt.data(), params.OpsLimit, std::size_t(params.MemLimit), crypto_pwhash_ALG_ARGON2ID13);
    if (rc != 0)
        return {};
    return key;
}

TSecureBuffer KeyedPasswordDigest(const TSecureBuffer& password)
{
    static const TSecureBuffer key = [] {
        EnsureSodium();
        TSecureBuffer random(crypto_generichash_KEYBYTES);
        randombytes_buf(random.Data(), random.Size());
        return random;
    }();
    TSecureBuffer digest(PasswordDigestSize);
    crypto_generichash(digest.Data(), digest.Size(), password.Data(), password.Size(), key.Data(),
                       key.Size());
    return digest;
}

TSecureBuffer TKeyCache::GetKey(const QString& fileIdentity, const TKdfSalt& salt,
                                const TKdfParams& params, const TSecureBuffer& password)
{
    std::lock_guard lock(FMutex);
    TSecureBuffer digest = KeyedPasswordDigest(password);
    if (TEntry* entry = Find(fileIdentity, salt, params, digest))
        return entry->Key.Clone();
    TSecureBuffer key = DeriveKey(password, salt, params);
    ++FDerivations;
    if (key.IsEmpty())
        return {};
    Insert({fileIdentity, salt, params, std::move(digest), key.Clone()});
    return key;
}

void TKeyCache::Put(const QString& fileIdentity, const TKdfSalt& salt, const TKdfParams& params,
                    const TSecureBuffer& password, const TSecureBuffer& key)
{
    std::lock_guard lock(FMutex);
    TSecureBuffer digest = KeyedPasswordDigest(password);
    if (TEntry* entry = Find(fileIdentity, salt, params, digest)) {
        entry->Key = key.Clone();
        return;
    }
    Insert({fileIdentity, salt, params, std::move(digest), key.Clone()});
}

void TKeyCache::Clear()
{
    std::lock_guard lock(FMutex);
    FEntries.clear();
}

int TKeyCache::DerivationCount() const
{
    std::lock_guard lock(FMutex);
    return FDerivations;
}

TKeyCache::TEntry* TKeyCache::Find(const QString& fileIdentity, const TKdfSalt& salt,
                                   const TKdfParams& params, const TSecureBuffer& digest)
{
    auto it = std::find_if(FEntries.begin(), FEntries.end(), [&](const TEntry& entry) {
        return entry.FileIdentity == fileIdentity && entry.Salt == salt && entry.Params == params &&
               entry.PasswordDigest.Equals(digest);
    });
    return it == FEntries.end() ? nullptr : &*it;
}

void TKeyCache::Insert(TEntry entry)
{
    if (FEntries.size() >= MaxCachedKeys)
        FEntries.erase(FEntries.begin());
    FEntries.push_back(std::move(entry));
}

} // namespace Lockwyn
