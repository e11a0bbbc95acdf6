#include "AllocatorTuning.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace corvane {

namespace {

// Blocks below this come from the heap rather than from pages mapped for them alone.
constexpr int kLargestHeapBlock = 32 << 20;
// Free memory at the heap's top beyond this goes back to the system.
constexpr int kFreeHeapKept = 64 << 20;

}  // namespace

// Screens, frame pixels and coding buffers come and go with every frame and file. By default
// glibc maps each block above 128 KiB on its own and unmaps it when freed, so the next one
// faults in fresh zeroed pages: a quarter of the deep level's time went there.
void KeepLargeBlocksForReuse() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
  mallopt(M_TRIM_THRESHOLD, kFreeHeapKept);
#endif
}

}  // namespace corvane
