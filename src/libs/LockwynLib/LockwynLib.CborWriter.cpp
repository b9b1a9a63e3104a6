#include "LockwynLib.CborWriter.h"

#include <cstring>

namespace Lockwyn {

void TCborWriter::Head(std::uint8_t major, std::uint64_t value)
{
    const char type = char(major << 5);
    if (value < 24) {
        FOut.append(char(type | char(value)));
        return;
    }
    int bytes = 8;
    char info = 27;
    if (value <= 0xFF) {
        bytes = 1;
        info = 24;
    } else if (value <= 0xFFFF) {
        bytes = 2;
        info = 25;
    } else if (value <= 0xFFFFFFFFull) {
        bytes = 4;
        info = 26;
    }
    FOut.append(char(type | info));
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        FOut.append(char((value >> shift) & 0xFF));
}

void TCborWriter::Int(std::int64_t value)
{
    if (value >= 0)
        Head(0, std::uint64_t(value));
    else
        Head(1, std::uint64_t(-(value + 1)));
}

void TCborWriter::Bytes(QByteArrayView bytes)
{
    Head(2, std::uint64_t(bytes.size()));
    FOut.append(bytes.data(), bytes.size());
}

void TCborWriter::Text(QStringView text)
{
    const char16_t* chars = text.utf16();
    const qsizetype size = text.size();
    bool ascii = true;
    for (qsizetype i = 0; i < size && ascii; ++i)
        ascii = chars[i] < 0x80;
    if (!ascii) {
        const QByteArray utf8 = text.toUtf8();
        Head(3, std::uint64_t(utf8.size()));
        FOut.append(utf8);
        return;
    }
    Head(3, std::uint64_t(size));
    const qsizetype at = FOut.size();
    FOut.resize(at + size);
    char* out = FOut.data() + at;
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char(chars[i]);
}

void TCborWriter::Key(const char* key)
{
    const auto size = std::strlen(key);
    Head(3, size);
    FOut.append(key, qsizetype(size));
}

} // namespace Lockwyn
