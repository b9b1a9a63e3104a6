#pragma once
// Names shared by the Lockwyn XML writer and reader.

#include <QStringView>

namespace Lockwyn::LockwynXml {

inline constexpr QStringView RootElement = u"LockwynDatabase";
inline constexpr QStringView VersionAttribute = u"version";
// A text that XML 1.0 cannot hold is written as base64 of its UTF-16 code
// units (little-endian), which keeps every character.
inline constexpr QStringView EncodingAttribute = u"encoding";
inline constexpr QStringView Base64 = u"utf16le-base64";

} // namespace Lockwyn::LockwynXml
