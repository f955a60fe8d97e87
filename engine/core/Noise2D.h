// Smooth two-dimensional noise (simplex noise) from a seed, and its fractal sums, for
// height maps, caves and wobbling colours. The same seed gives the same values everywhere.
#pragma once

#include <cstdint>

#include "engine/core/RandomGenerator.h"
#include "engine/platform/Export.h"

namespace tw {

class TW_API Noise2D {
 public:
  // The lattice is shuffled by random (its next numbers are used up).
  explicit Noise2D(RandomGenerator& random);
  explicit Noise2D(std::uint64_t seed);

  // Noise at (x, y): between -1 and 1, smooth, about one feature per unit.
  float get(float x, float y) const;
  // A sum of octaves layers of noise, each at lacunarity times the last's
  // frequency and gain times its weight, scaled back to -1..1.
  float fractal(float x, float y, int octaves, float lacunarity = 2.0f, float gain = 0.5f) const;

 private:
  void shuffle(RandomGenerator& random);
  float corner(int hash, float x, float y) const;

  std::uint8_t permutation[512];  // 0..255 shuffled, twice over
};

}  // namespace tw
