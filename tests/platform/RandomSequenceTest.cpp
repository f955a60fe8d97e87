// The engine's random sequence is glibc's rand() sequence for every seed, so
// that recordings and golden frames made with rand() stay valid and a
// browser build (another C library) draws the same numbers.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/core/Random.h"
#include "engine/platform/RandomSequence.h"

namespace {

TEST(RandomSequence, EqualsGlibcRandForEverySeedKind) {
  // 0 (taken as 1), small, the recordings' 11, the sign bit, the largest.
  for (unsigned seed : {0u, 1u, 11u, 2147483648u, 4294967295u}) {
    SCOPED_TRACE(seed);
    tw::platform::RandomSequence sequence;
    sequence.seed(seed);
    srand(seed);
    int first_difference = -1;
    for (int i = 0; i < 20000 && first_difference < 0; i++) {
      if (sequence.next() != rand()) first_difference = i;
    }
    EXPECT_EQ(first_difference, -1);
  }
}

TEST(RandomSequence, UnseededIsSeedOneAndTheEngineFunctionsDrawFromIt) {
  tw::platform::RandomSequence unseeded;
  tw::seedRandomNumbers(1);
  for (int i = 0; i < 100; i++) ASSERT_EQ(unseeded.next(), tw::randomNumber()) << i;
}

}  // namespace
