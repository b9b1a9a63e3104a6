#include "LockwynLib.SecureMemory.h"

#include <sodium.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

namespace Lockwyn {

void EnsureSodium()
{
    // sodium_init is thread-safe and returns 1 once already initialised.
    static const bool initialised = sodium_init() >= 0;
    if (!initialised)
        throw std::runtime_error("libsodium could not be initialised");
}

TSecureBuffer::TSecureBuffer(std::size_t size)
{
    if (size == 0)
        return;
    EnsureSodium();
    FData = static_cast<std::uint8_t*>(sodium_malloc(size));
    if (!FData)
        throw std::bad_alloc();
    sodium_memzero(FData, size);
    FSize = size;
}

TSecureBuffer::TSecureBuffer(QByteArrayView bytes) : TSecureBuffer(std::size_t(bytes.size()))
{
    std::copy_n(bytes.data(), bytes.size(), reinterpret_cast<char*>(FData));
}

TSecureBuffer::TSecureBuffer(TSecureBuffer&& other) noexcept
    : FData(std::exchange(other.FData, nullptr)), FSize(std::exchange(other.FSize, 0))
{
}

TSecureBuffer& TSecureBuffer::operator=(TSecureBuffer&& other) noexcept
{
    if (this != &other) {
        Clear();
        FData = std::exchange(other.FData, nullptr);
        FSize = std::exchange(other.FSize, 0);
    }
    return *this;
}

TSecureBuffer::~TSecureBuffer()
{
    Clear();
}

TSecureBuffer TSecureBuffer::FromString(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    TSecureBuffer buffer(utf8);
    SecureWipe(utf8);
    return buffer;
}

QString TSecureBuffer::ToString() const
{
    return QString::fromUtf8(View());
}

TSecureBuffer TSecureBuffer::Clone() const
{
    return TSecureBuffer(View());
}

void TSecureBuffer::Clear()
{
    // sodium_free wipes the memory before releasing it.
    if (FData)
        sodium_free(FData);
    FData = nullptr;
    FSize = 0;
}

void TSecureBuffer::Truncate(std::size_t size)
{
    if (size >= FSize)
        return;
    sodium_memzero(FData + size, FSize - size);
    FSize = size;
}

bool TSecureBuffer::Equals(const TSecureBuffer& other) const
{
    if (FSize != other.FSize)
        return false;
    return FSize == 0 || sodium_memcmp(FData, other.FData, FSize) == 0;
}

void SecureWipe(QByteArray& bytes)
{
    if (!bytes.isEmpty() && !bytes.isDetached())
        bytes = QByteArray();
    if (!bytes.isEmpty())
        sodium_memzero(bytes.data(), std::size_t(bytes.size()));
    bytes.clear();
}

} // namespace Lockwyn
