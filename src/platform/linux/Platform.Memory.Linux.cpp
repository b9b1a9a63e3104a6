#include "Platform.Memory.h"

#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace Platform {

namespace {

constexpr int PerturbByte = 0xA5;
// The GNU C library caches up to 7 freed blocks of each size up to 1032 bytes
// per thread (more when tuned), outside M_PERTURB's reach.
constexpr std::size_t LargestCachedBlock = 1032;
constexpr std::size_t BlockSizeStep = 16;
constexpr int CachedPerSize = 32;

} // namespace

void HardenHeap()
{
#ifdef __GLIBC__
    mallopt(M_PERTURB, PerturbByte);
#endif
}

// Takes the cached blocks out of the cache (an allocation of their size gets
// them first), wipes them and gives them back.
void ScrubHeapCaches()
{
#ifdef __GLIBC__
    void* blocks[CachedPerSize];
    for (std::size_t size = 24; size <= LargestCachedBlock; size += BlockSizeStep) {
        for (auto& block : blocks) {
            block = std::malloc(size);
            if (block)
                explicit_bzero(block, malloc_usable_size(block));
        }
        for (auto* block : blocks)
            std::free(block);
    }
#endif
}

const char* FindBytes(const char* haystack, std::size_t haystackSize, const char* needle,
                      std::size_t needleSize)
{
    return static_cast<const char*>(memmem(haystack, haystackSize, needle, needleSize));
}

} // namespace Platform
