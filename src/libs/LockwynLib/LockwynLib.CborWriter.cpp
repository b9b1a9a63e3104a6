#include "LockwynLib.CborWriter.h"

#include <QStringEncoder>

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

namespace {

// The length of the UTF-8 encoding; an unpaired surrogate counts as the
// replacement character the encoder writes for it.
qsizetype Utf8Size(const char16_t* chars, qsizetype size, bool& ascii)
{
    qsizetype bytes = 0;
    ascii = true;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c < 0x80) {
            ++bytes;
            continue;
        }
        ascii = false;
        if (c < 0x800) {
            bytes += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < size &&
                   QChar::isLowSurrogate(chars[i + 1])) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

} // namespace

void TCborWriter::Text(QStringView text)
{
    const char16_t* chars = text.utf16();
    const qsizetype size = text.size();
    bool ascii = true;
    const qsizetype bytes = Utf8Size(chars, size, ascii);
    Head(3, std::uint64_t(bytes));
    const qsizetype at = FOut.size();
    FOut.resize(at + bytes);
    char* out = FOut.data() + at;
    if (!ascii) {
        QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        encoder.appendToBuffer(out, text);
        return;
    }
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char(chars[i]);
}

void TCborWriter::Key(TCborKey key)
{
    Head(3, key.Text().size());
    FOut.append(key.Text().data(), qsizetype(key.Text().size()));
}

} // namespace Lockwyn
