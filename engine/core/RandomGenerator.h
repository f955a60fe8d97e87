// A random number generator object of a game's own (PCG32): seeded, one of many
// independent streams, with ranges free of modulo bias, floats, a gaussian and a state
// that can be saved and restored. The engine's own sequence (Random.h) is separate.
#pragma once

#include <cstdint>
#include <string>

#include "engine/platform/Export.h"

namespace tw {

// A generator's whole state: the next numbers follow from it alone.
struct TW_API RandomState {
  std::uint64_t state = 0;
  std::uint64_t increment = 1;  // selects the stream; always odd
};
inline bool operator==(const RandomState& a, const RandomState& b) {
  return a.state == b.state && a.increment == b.increment;
}

class TW_API RandomGenerator {
 public:
  // The same seed and stream give the same numbers on every platform;
  // generators of other streams give unrelated sequences from one seed.
  explicit RandomGenerator(std::uint64_t seed = 0, std::uint64_t stream = 0);
  void seed(std::uint64_t seed, std::uint64_t stream = 0);
  // A generator of that stream seeded with the engine's seed, so that a
  // recording's seed decides its numbers and a replay draws the same ones.
  // Made once the game manager has started (it seeds the engine).
  static RandomGenerator fromEngineSeed(std::uint64_t stream);

  // The next 32 random bits.
  std::uint32_t next();
  // Uniform in low..high, both included (the two are swapped when high < low).
  int getInt(int low, int high);
  // Uniform in [low, high) (the two are swapped when high < low; low when equal).
  double getDouble(double low, double high);
  float getFloat(float low, float high);
  // Normally distributed with that mean and standard deviation.
  double getGaussian(double mean, double deviation);

  RandomState getState() const { return current; }
  // -1, and nothing changes, for a state no generator can have (an even increment).
  int setState(const RandomState& state);
  // The state as text, "pcg32 STATE INCREMENT" in hexadecimal, and back:
  // -1, with the state unchanged, for text that is not such a state.
  std::string saveState() const;
  int restoreState(const std::string& text);

 private:
  std::uint32_t below(std::uint32_t bound);
  double unit();

  RandomState current;
};

}  // namespace tw
