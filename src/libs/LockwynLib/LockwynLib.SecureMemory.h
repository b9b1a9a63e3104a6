#pragma once
// Buffers for secrets (master password, keys, decrypted payloads). They live in
// sodium_malloc memory: guarded, kept out of swap where the system allows, and
// wiped when freed. Move-only, so a secret is never copied by accident.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace Lockwyn {

// Initialises libsodium once; every unit that uses it calls this first.
// Throws std::runtime_error when libsodium cannot start.
void EnsureSodium();

class TSecureBuffer
{
public:
    TSecureBuffer() = default;
    // Zero-filled buffer of the given size. Throws std::bad_alloc when out of memory.
    explicit TSecureBuffer(std::size_t size);
    explicit TSecureBuffer(QByteArrayView bytes);
    TSecureBuffer(const TSecureBuffer&) = delete;
    TSecureBuffer& operator=(const TSecureBuffer&) = delete;
    TSecureBuffer(TSecureBuffer&& other) noexcept;
    TSecureBuffer& operator=(TSecureBuffer&& other) noexcept;
    ~TSecureBuffer();

    // A password's UTF-8 bytes. The temporary conversion buffer is wiped.
    static TSecureBuffer FromString(const QString& text);
    QString ToString() const;

    TSecureBuffer Clone() const;
    // Wipes and frees the memory; the buffer becomes empty.
    void Clear();
    // Shrinks the visible size without reallocating (e.g. after decryption).
    void Truncate(std::size_t size);

    std::uint8_t* Data() { return FData; }
    const std::uint8_t* Data() const { return FData; }
    std::size_t Size() const { return FSize; }
    bool IsEmpty() const { return FSize == 0; }
    QByteArrayView View() const { return {FData, qsizetype(FSize)}; }

    // Constant-time comparison of contents.
    bool Equals(const TSecureBuffer& other) const;

private:
    std::uint8_t* FData = nullptr;
    std::size_t FSize = 0;
};

// Overwrites the bytes of a buffer that held a secret, then empties it. A
// buffer shared with other holders is only let go: it is theirs to wipe, and
// the hardened heap (Platform::HardenHeap) overwrites it when it is freed.
void SecureWipe(QByteArray& bytes);

} // namespace Lockwyn
