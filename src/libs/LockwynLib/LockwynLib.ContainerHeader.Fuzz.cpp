// libFuzzer target: the container header parser and, behind an intact
// header, the decryption with a fixed key. Bad input must give a result code,
// never a crash, a hang or an out-of-bounds read.

#include "LockwynLib.Container.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Lockwyn;

namespace {

// The seed corpus is sealed with this key (32 bytes of 0x42, zero salt).
TFileKey FixedKey()
{
    TFileKey key;
    key.Params = TKdfParams::Cheap();
    key.Key = TSecureBuffer(QByteArray(FileKeySize, '\x42'));
    return key;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TFileKey key = FixedKey();
    const QByteArrayView bytes(data, qsizetype(size));
    TContainerHeader header;
    qsizetype headerSize = 0;
    if (ParseHeader(bytes, header, headerSize) != THeaderResult::hrOk)
        return 0;
    if (headerSize <= 0 || headerSize > bytes.size() || !header.Kdf.IsValid())
        std::abort();
    TSecureBuffer payload;
    if (UnsealContainer(bytes, key, payload) == TContainerResult::crOk &&
        payload.Size() + 16 + std::size_t(headerSize) != size)
        std::abort();
    return 0;
}
