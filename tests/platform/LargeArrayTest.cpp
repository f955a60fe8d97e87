// Large-page memory: blocks of a large page or more start on a large-page boundary (the
// block pool finds its chunks by that), every byte is usable, and a LargeArray makes and
// ends exactly its elements.
#include "engine/platform/LargeArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>

using tw::platform::LARGE_PAGE_BYTES;

TEST(LargeArray, LargeBlocksStartOnALargePageAndEveryByteIsUsable) {
  for (std::size_t bytes : {std::size_t{1}, std::size_t{4096}, LARGE_PAGE_BYTES - 1, LARGE_PAGE_BYTES,
                            LARGE_PAGE_BYTES + 1, 3 * LARGE_PAGE_BYTES}) {
    for (bool large_pages : {true, false}) {
      SCOPED_TRACE(std::to_string(bytes) + (large_pages ? " bytes, large pages" : " bytes"));
      auto* p = static_cast<unsigned char*>(tw::platform::allocateLarge(bytes, large_pages));
      ASSERT_NE(p, nullptr);
      std::memset(p, 0xA5, bytes);
      const auto address = reinterpret_cast<std::uintptr_t>(p);
      EXPECT_EQ(address % (bytes >= LARGE_PAGE_BYTES ? LARGE_PAGE_BYTES : alignof(std::max_align_t)), 0u);
      tw::platform::releaseLarge(p);
    }
  }
}

namespace {
int alive = 0;
struct Counted {
  Counted() { alive++; }
  ~Counted() { alive--; }
  int value = 7;
};
}  // namespace

TEST(LargeArray, MakesAndEndsExactlyItsElements) {
  {
    tw::platform::LargeArray<Counted> array;
    const std::size_t too_many = static_cast<std::size_t>(-1) / sizeof(Counted) + 1;
    // The old elements end before the new ones are made; too many to count
    // in bytes leaves the array empty.
    for (std::size_t count : {std::size_t{1000}, std::size_t{10}, std::size_t{0}, too_many}) {
      SCOPED_TRACE(count);
      const bool made = array.allocate(count);
      EXPECT_EQ(std::make_tuple(made, alive, array.size()),
                std::make_tuple(count != too_many, count != too_many ? static_cast<int>(count) : 0,
                                count != too_many ? count : 0));
    }
    ASSERT_TRUE(array.allocate(LARGE_PAGE_BYTES / sizeof(Counted) + 5));
    EXPECT_EQ(array[array.size() - 1].value, 7);
  }
  EXPECT_EQ(alive, 0);
}
