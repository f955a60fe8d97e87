#include "engine/core/Noise2D.h"

#include <cmath>
#include <utility>

namespace tw {

namespace {
// Skews the plane onto the triangle lattice and back.
const float SKEW = 0.36602540378f;    // (sqrt(3) - 1) / 2
const float UNSKEW = 0.21132486540f;  // (3 - sqrt(3)) / 6
// Gradients: the eight compass directions.
const float GRADIENTS[8][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
// Brings the largest sums of the three corners to about 1.
const float SCALE = 70.0f;
}  // namespace

Noise2D::Noise2D(RandomGenerator& random) { shuffle(random); }

Noise2D::Noise2D(std::uint64_t seed) {
  RandomGenerator random(seed);
  shuffle(random);
}

void Noise2D::shuffle(RandomGenerator& random) {
  for (int i = 0; i < 256; i++) permutation[i] = static_cast<std::uint8_t>(i);
  for (int i = 255; i > 0; i--) std::swap(permutation[i], permutation[random.getInt(0, i)]);
  for (int i = 0; i < 256; i++) permutation[256 + i] = permutation[i];
}

// One corner's share: its gradient along the offset, fading to 0 at a
// distance of sqrt(1/2).
float Noise2D::corner(int hash, float x, float y) const {
  float t = 0.5f - x * x - y * y;
  if (t <= 0) return 0;
  t *= t;
  const float* g = GRADIENTS[hash & 7];
  return t * t * (g[0] * x + g[1] * y);
}

float Noise2D::get(float x, float y) const {
  const float s = (x + y) * SKEW;
  const int i = static_cast<int>(std::floor(x + s));
  const int j = static_cast<int>(std::floor(y + s));
  const float t = static_cast<float>(i + j) * UNSKEW;
  const float x0 = x - (static_cast<float>(i) - t);
  const float y0 = y - (static_cast<float>(j) - t);
  const int i1 = x0 > y0 ? 1 : 0;  // the middle corner: lower or upper triangle
  const int j1 = 1 - i1;
  const float x1 = x0 - static_cast<float>(i1) + UNSKEW;
  const float y1 = y0 - static_cast<float>(j1) + UNSKEW;
  const float x2 = x0 - 1.0f + 2.0f * UNSKEW;
  const float y2 = y0 - 1.0f + 2.0f * UNSKEW;
  const int ii = i & 255;
  const int jj = j & 255;
  const float n0 = corner(permutation[ii + permutation[jj]], x0, y0);
  const float n1 = corner(permutation[ii + i1 + permutation[jj + j1]], x1, y1);
  const float n2 = corner(permutation[ii + 1 + permutation[jj + 1]], x2, y2);
  return SCALE * (n0 + n1 + n2);
}

float Noise2D::fractal(float x, float y, int octaves, float lacunarity, float gain) const {
  float sum = 0;
  float weight = 1;
  float total = 0;
  float frequency = 1;
  for (int octave = 0; octave < octaves; octave++) {
    sum += weight * get(x * frequency, y * frequency);
    total += weight;
    weight *= gain;
    frequency *= lacunarity;
  }
  return total > 0 ? sum / total : 0.0f;
}

}  // namespace tw
