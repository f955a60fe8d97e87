// Memory for the many small blocks a game makes and frees all the time (its objects), cut
// from large-page chunks: blocks made one after another lie side by side, so a walk over
// them reads memory in order and needs few address translations. Freed blocks are reused.
#pragma once

#include <cstddef>

namespace tw {

// Like the world whose objects it holds, it serves one thread.
class BlockPool {
 public:
  // At least bytes of memory aligned to 16; null when memory runs out.
  // Blocks above a few kilobytes come from the general heap.
  static void* allocate(std::size_t bytes);
  // Takes back a block from allocate; null does nothing. The memory is kept
  // for later blocks of the same size, not returned to the system.
  static void release(void* p_block);
  // False where every block comes from the general heap (under
  // AddressSanitizer, so that a use after release is still caught).
  static bool isPooling();
};

}  // namespace tw
