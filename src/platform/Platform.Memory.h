#pragma once
// The process's memory: freed memory that cannot keep a secret, and a fast
// byte search.

#include <cstddef>

namespace Platform {

// Has the allocator overwrite every block it is given back (the GNU C library:
// M_PERTURB), so strings freed by any code, Qt's widgets included, do not
// survive their release. Called once, first thing in main.
void HardenHeap();

// Overwrites freed memory that HardenHeap cannot reach: the blocks the
// allocator keeps cached for the calling thread, and the unused part of the
// calling thread's stack below the caller. Called when the secrets of a
// session are dropped. Other threads' caches and stacks are not reached.
void ScrubFreedMemory();
// The allocator's part of ScrubFreedMemory.
void ScrubHeapCaches();

// The first occurrence of needle in haystack; nil when there is none. An
// empty needle is found at the start.
const char* FindBytes(const char* haystack, std::size_t haystackSize, const char* needle,
                      std::size_t needleSize);

} // namespace Platform
