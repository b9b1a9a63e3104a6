// libFuzzer target: the payload decoder, directly on CBOR and behind the
// decompression. Bad input must give "damaged", never a crash or a hang; what
// decodes must encode to bytes that decode to the same encoding again.

#include "LockwynLib.PayloadCodec.h"
#include "LockwynLib.TokenGroup.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Lockwyn;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    if (auto root = DecodePayload(bytes)) {
        const QByteArray encoded = EncodePayload(*root);
        auto again = DecodePayload(encoded);
        if (!again || EncodePayload(*again) != encoded)
            std::abort();
    }
    UnpackPayload(bytes);
    return 0;
}
