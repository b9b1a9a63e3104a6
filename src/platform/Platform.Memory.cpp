#include "Platform.Memory.h"

namespace Platform {

namespace {

constexpr std::size_t StackToWipe = 256 * 1024;

// Not inlined, so its frame lies below the caller's: the stack that earlier,
// deeper calls used and left as it was.
[[gnu::noinline]] void WipeStackBelow()
{
    volatile unsigned char area[StackToWipe];
    for (std::size_t i = 0; i < StackToWipe; ++i)
        area[i] = 0;
}

} // namespace

void ScrubFreedMemory()
{
    ScrubHeapCaches();
    WipeStackBelow();
}

} // namespace Platform
