#include "engine/core/BlockPool.h"

#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "engine/platform/LargeArray.h"

// Under AddressSanitizer every block comes from the general heap, so that a
// use after release is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define TW_BLOCK_POOL_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TW_BLOCK_POOL_OFF 1
#endif
#endif

namespace tw {

#if defined(TW_BLOCK_POOL_OFF)

void* BlockPool::allocate(std::size_t bytes) { return std::malloc(bytes == 0 ? 1 : bytes); }
void BlockPool::release(void* p_block) { std::free(p_block); }
bool BlockPool::isPooling() { return false; }

#else

namespace {
const std::size_t GRANULE = 16;
const std::size_t LARGEST = 4096;  // bigger blocks come from the heap
const std::size_t CLASSES = LARGEST / GRANULE;
// A chunk is one large page. allocateLarge aligns it to its size, so the
// chunk of any block is its address with the low bits cleared (chunkOf).
const std::size_t CHUNK = platform::LARGE_PAGE_BYTES;

// One size of block: the free blocks, each holding the next one's address,
// and the unused rest of the chunk being cut.
struct SizeClass {
  void* p_free = nullptr;
  char* p_next = nullptr;
  char* p_end = nullptr;
  int chunks = 0;
};

struct Pool {
  SizeClass classes[CLASSES];
  // Chunk address to the size class it serves: a block belongs to the pool
  // when its chunk is here.
  std::unordered_map<std::uintptr_t, std::size_t> chunks;
};

Pool& pool() {
  // Never destroyed: objects may be released during static destruction.
  static Pool* p_pool = new Pool;
  return *p_pool;
}

std::uintptr_t chunkOf(const void* p_block) {
  return reinterpret_cast<std::uintptr_t>(p_block) & ~static_cast<std::uintptr_t>(CHUNK - 1);
}

// A fresh chunk for the blocks of a size class; false when memory runs out.
// A size's first chunk keeps small pages, so that a game with few objects of
// many sizes does not hold a large page for each size.
bool addChunk(std::size_t index) {
  SizeClass& size_class = pool().classes[index];
  void* p_chunk = platform::allocateLarge(CHUNK, size_class.chunks > 0);
  if (p_chunk == nullptr) return false;
  try {
    pool().chunks.emplace(reinterpret_cast<std::uintptr_t>(p_chunk), index);
  } catch (...) {
    platform::releaseLarge(p_chunk);
    return false;
  }
  size_class.chunks++;
  size_class.p_next = static_cast<char*>(p_chunk);
  size_class.p_end = size_class.p_next + CHUNK;
  return true;
}

void* take(std::size_t index) {
  SizeClass& size_class = pool().classes[index];
  if (size_class.p_free != nullptr) {
    void* p_block = size_class.p_free;
    size_class.p_free = *static_cast<void**>(p_block);
    return p_block;
  }
  const std::size_t size = (index + 1) * GRANULE;
  if (static_cast<std::size_t>(size_class.p_end - size_class.p_next) < size && !addChunk(index)) {
    return nullptr;
  }
  void* p_block = size_class.p_next;
  size_class.p_next += size;
  return p_block;
}
}  // namespace

// Blocks carry no header: a block's size is that of its chunk's class.
void* BlockPool::allocate(std::size_t bytes) {
  if (bytes > LARGEST) return std::malloc(bytes);
  const std::size_t index = bytes == 0 ? 0 : (bytes - 1) / GRANULE;
  return take(index);
}

void BlockPool::release(void* p_block) {
  if (p_block == nullptr) return;
  const auto chunk = pool().chunks.find(chunkOf(p_block));
  if (chunk == pool().chunks.end()) {
    std::free(p_block);
    return;
  }
  SizeClass& size_class = pool().classes[chunk->second];
  *static_cast<void**>(p_block) = size_class.p_free;
  size_class.p_free = p_block;
}

bool BlockPool::isPooling() { return true; }

#endif

}  // namespace tw
