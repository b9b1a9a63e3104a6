#include "LockwynLib.CborReader.h"

#include "LockwynLib.SecureMemory.h"

#include <algorithm>
#include <limits>

namespace Lockwyn {

namespace {

constexpr std::uint8_t Break = 0xFF;
constexpr int IndefiniteLength = 31;

} // namespace

TCborReader::~TCborReader()
{
    SecureWipe(FJoined);
}

std::uint8_t TCborReader::Peek() const
{
    if (FAt == FEnd)
        throw ECborDamaged();
    return *FAt;
}

const std::uint8_t* TCborReader::Take(std::uint64_t size)
{
    if (size > std::uint64_t(FEnd - FAt))
        throw ECborDamaged();
    const std::uint8_t* at = FAt;
    FAt += size;
    return at;
}

std::uint64_t TCborReader::Head(int major, bool* indefinite)
{
    const std::uint8_t initial = Peek();
    if (initial >> 5 != major)
        throw ECborDamaged();
    ++FAt;
    const int info = initial & 0x1F;
    if (indefinite)
        *indefinite = info == IndefiniteLength;
    if (info < 24 || (info == IndefiniteLength && indefinite))
        return info;
    if (info > 27)
        throw ECborDamaged();
    const int size = 1 << (info - 24);
    const std::uint8_t* bytes = Take(std::uint64_t(size));
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | bytes[i];
    return value;
}

TCborReader::TContainer TCborReader::Enter(int major)
{
    bool indefinite = false;
    const std::uint64_t count = Head(major, &indefinite);
    if (indefinite)
        return {0, true};
    // Every item takes a byte at least.
    const std::uint64_t left = std::uint64_t(FEnd - FAt);
    if (count > left || (major == 5 && count * 2 > left))
        throw ECborDamaged();
    return {major == 5 ? count * 2 : count, false};
}

bool TCborReader::Next(TContainer& container)
{
    if (!container.Indefinite) {
        if (container.Left == 0)
            return false;
        --container.Left;
        return true;
    }
    if (Peek() != Break)
        return true;
    ++FAt;
    return false;
}

qsizetype TCborReader::SizeHint(const TContainer& container) const
{
    return container.Indefinite ? 0 : qsizetype(container.Left);
}

QByteArrayView TCborReader::String(int major)
{
    bool indefinite = false;
    const std::uint64_t size = Head(major, &indefinite);
    if (!indefinite)
        return {Take(size), qsizetype(size)};
    SecureWipe(FJoined);
    while (Peek() != Break) {
        const std::uint64_t chunk = Head(major); // chunks have definite lengths
        FJoined.append(reinterpret_cast<const char*>(Take(chunk)), qsizetype(chunk));
    }
    ++FAt;
    return FJoined;
}

std::uint64_t TCborReader::Key()
{
    if (!IsText()) {
        Skip();
        return 0;
    }
    const QByteArrayView key = String(3);
    return CborKeyCode(std::string_view(key.data(), std::size_t(key.size())));
}

QString TCborReader::Text()
{
    const QByteArrayView bytes = String(3);
    if (!bytes.isValidUtf8())
        throw ECborDamaged();
    return bytes.isEmpty() ? QString() : QString::fromUtf8(bytes);
}

QByteArrayView TCborReader::Bytes()
{
    return String(2);
}

std::int64_t TCborReader::Integer()
{
    constexpr std::uint64_t Max = std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (Major() == 1)
        return -1 - std::int64_t(std::min(Head(1), Max));
    return std::int64_t(std::min(Head(0), Max));
}

bool TCborReader::Bool()
{
    const std::uint8_t value = Peek();
    if (value != 0xF4 && value != 0xF5)
        throw ECborDamaged();
    ++FAt;
    return value == 0xF5;
}

void TCborReader::Skip(int depth)
{
    const int major = Major();
    switch (major) {
    case 0:
    case 1:
        Head(major);
        return;
    case 2:
    case 3:
        String(major);
        return;
    case 6:
        Head(major); // a tag, then the item it tags
        if (depth <= 0)
            throw ECborDamaged();
        Skip(depth - 1);
        return;
    case 7: {
        const int info = Peek() & 0x1F;
        ++FAt;
        if (info == 24)
            Take(1);
        else if (info >= 25 && info <= 27)
            Take(std::uint64_t(1) << (info - 24));
        else if (info > 27)
            throw ECborDamaged();
        return;
    }
    default:
        break;
    }
    if (depth <= 0)
        throw ECborDamaged();
    TContainer container = Enter(major);
    while (Next(container))
        Skip(depth - 1);
}

} // namespace Lockwyn
