#include "Platform.Memory.h"

#include <algorithm>
#include <functional>

namespace Platform {

// The Windows heap offers no overwriting of freed blocks; the program's own
// buffers of secrets are wiped where they are released.
void HardenHeap() {}

void ScrubHeapCaches() {}

const char* FindBytes(const char* haystack, std::size_t haystackSize, const char* needle,
                      std::size_t needleSize)
{
    const char* end = haystack + haystackSize;
    const char* found =
        std::search(haystack, end, std::boyer_moore_horspool_searcher(needle, needle + needleSize));
    return found == end && needleSize > 0 ? nullptr : found;
}

} // namespace Platform
