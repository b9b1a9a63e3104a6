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

QByteArray EncodePayload(const TTokenGroup& root);
// Nil when the bytes are not a payload this version can read.
std::shared_ptr<TTokenGroup> DecodePayload(QByteArrayView cbor);

// Encoded and compressed; the plain encoding is wiped.
QByteArray PackPayload(const TTokenGroup& root);
// Nil when damaged; the decompressed bytes are wiped.
std::shared_ptr<TTokenGroup> UnpackPayload(QByteArrayView packed);

} // namespace Lockwyn
