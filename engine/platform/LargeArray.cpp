#include "engine/platform/LargeArray.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tw {
namespace platform {

void* allocateLarge(std::size_t bytes, bool large_pages) {
  if (bytes < LARGE_PAGE_BYTES) return std::malloc(bytes);
  const std::size_t rounded = (bytes + LARGE_PAGE_BYTES - 1) / LARGE_PAGE_BYTES * LARGE_PAGE_BYTES;
  if (rounded < bytes) return nullptr;
  void* p_block = std::aligned_alloc(LARGE_PAGE_BYTES, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only advice: where large pages are off, the block works as it is.
  if (p_block != nullptr && large_pages) madvise(p_block, rounded, MADV_HUGEPAGE);
#else
  (void)large_pages;
#endif
  return p_block;
}

void releaseLarge(void* p_block) { std::free(p_block); }

}  // namespace platform
}  // namespace tw
