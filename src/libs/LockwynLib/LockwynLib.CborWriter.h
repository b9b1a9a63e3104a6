#pragma once
// A minimal CBOR writer straight into a byte array: definite lengths only,
// no per-item device calls, text encoded in place (no buffer of its own that
// would keep a copy of a secret).

#include "LockwynLib.CborKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstdint>

namespace Lockwyn {

class TCborWriter
{
public:
    explicit TCborWriter(QByteArray& out) : FOut(out) {}

    void Map(std::uint64_t pairs) { Head(5, pairs); }
    void Array(std::uint64_t items) { Head(4, items); }
    void Int(std::int64_t value);
    void Bool(bool value) { FOut.append(char(value ? 0xF5 : 0xF4)); }
    void Null() { FOut.append(char(0xF6)); }
    void Undefined() { FOut.append(char(0xF7)); }
    void Bytes(QByteArrayView bytes);
    void Text(QStringView text);
    void Key(TCborKey key);

private:
    void Head(std::uint8_t major, std::uint64_t value);

    QByteArray& FOut;
};

} // namespace Lockwyn
