// Arrays that a program reads at random places, such as the world's grid, in memory the
// system is asked to back with large pages where it can: then a walk over scattered
// elements does not wait on address translation for each of them.
#pragma once

#include <cstddef>
#include <new>

namespace tw {
namespace platform {

// The size of a large page, and the alignment of every block of at least
// that many bytes from allocateLarge: a user may find a block's start from
// any address inside it by clearing the low bits (the block pool does).
constexpr std::size_t LARGE_PAGE_BYTES = std::size_t{2} * 1024 * 1024;
static_assert((LARGE_PAGE_BYTES & (LARGE_PAGE_BYTES - 1)) == 0, "a power of two");

// At least bytes of memory, aligned for any type; null when memory runs out.
// Blocks of LARGE_PAGE_BYTES or more start on a large-page boundary and, unless
// large_pages is false, are offered to the system for large pages (which
// then take a whole large page of memory as soon as one byte is touched).
void* allocateLarge(std::size_t bytes, bool large_pages = true);
void releaseLarge(void* p_block);

// count default-constructed elements of T in such memory, owned.
template <typename T>
class LargeArray {
 public:
  LargeArray() = default;
  ~LargeArray() { reset(); }
  LargeArray(const LargeArray&) = delete;
  LargeArray& operator=(const LargeArray&) = delete;

  // Replaces the elements with count new ones; false (and empty) when
  // memory runs out.
  bool allocate(std::size_t new_count) {
    reset();
    if (new_count == 0) return true;
    if (new_count > static_cast<std::size_t>(-1) / sizeof(T)) return false;
    void* p_block = allocateLarge(new_count * sizeof(T));
    if (p_block == nullptr) return false;
    p_items = static_cast<T*>(p_block);
    for (; count < new_count; count++) new (p_items + count) T();
    return true;
  }
  void reset() {
    while (count > 0) p_items[--count].~T();
    releaseLarge(p_items);
    p_items = nullptr;
  }
  T& operator[](std::size_t i) { return p_items[i]; }
  const T& operator[](std::size_t i) const { return p_items[i]; }
  std::size_t size() const { return count; }

 private:
  T* p_items = nullptr;
  std::size_t count = 0;
};

}  // namespace platform
}  // namespace tw
