// The pseudo-random sequence every build of the engine draws from: the
// additive feedback generator of glibc's rand() (state of 31 words, seeded
// through a multiplicative congruential generator), computed here so that a
// seed gives the same numbers under any C library, the browser's included.
#pragma once

#include <array>
#include <cstdint>

namespace tw {
namespace platform {

class RandomSequence {
 public:
  // The largest number next() gives (glibc's RAND_MAX).
  static constexpr int MAX = 2147483647;

  // Unseeded, the sequence is that of seed 1, as rand() is before srand().
  RandomSequence();
  void seed(unsigned value);
  // The next number, 0 to MAX.
  int next();

 private:
  std::array<std::uint32_t, 31> state{};
  int front = 0;  // index of the word added to the one three places behind
};

}  // namespace platform
}  // namespace tw
