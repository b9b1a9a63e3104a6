#pragma once
// The payload of a database file: the whole group tree as CBOR, compressed.
// Readers skip keys they do not know, so a newer file of the same major
// format opens and loses only what this version cannot represent.
// A history value equal to the token's current value is written as CBOR
// "undefined" and shares the token's string when read.

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace Lockwyn {

class TTokenGroup;

// sizeHint: the expected size (the last one), reserved at once.
QByteArray EncodePayload(const TTokenGroup& root, qsizetype sizeHint = 0);
// Nil when the bytes are not a payload this version can read.
std::shared_ptr<TTokenGroup> DecodePayload(QByteArrayView cbor);

// Encoded and compressed; the plain encoding is wiped. plainSize: in, the
// expected plain size; out, the real one. Throws ELimitExceeded for a tree a
// file cannot hold (the reader would refuse it).
QByteArray PackPayload(const TTokenGroup& root, qsizetype& plainSize);
// Nil when damaged; the decompressed bytes are wiped.
std::shared_ptr<TTokenGroup> UnpackPayload(QByteArrayView packed, qsizetype* plainSize = nullptr);

} // namespace Lockwyn
