#include "engine/core/RandomGenerator.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/core/Random.h"

namespace tw {

namespace {
const std::uint64_t MULTIPLIER = 6364136223846793005ULL;
}

RandomGenerator::RandomGenerator(std::uint64_t seed_value, std::uint64_t stream) { seed(seed_value, stream); }

void RandomGenerator::seed(std::uint64_t seed_value, std::uint64_t stream) {
  current.state = 0;
  current.increment = (stream << 1) | 1u;
  next();
  current.state += seed_value;
  next();
}

RandomGenerator RandomGenerator::fromEngineSeed(std::uint64_t stream) {
  return RandomGenerator(getRandomSeed(), stream);
}

std::uint32_t RandomGenerator::next() {
  const std::uint64_t old = current.state;
  current.state = old * MULTIPLIER + current.increment;
  const auto shifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
  const auto rotation = static_cast<std::uint32_t>(old >> 59);
  return (shifted >> rotation) | (shifted << ((32 - rotation) & 31));
}

// Uniform below bound (not 0): the numbers under 2^32 mod bound, which
// would favour the small results, are drawn again.
std::uint32_t RandomGenerator::below(std::uint32_t bound) {
  const std::uint32_t threshold = (0u - bound) % bound;
  while (true) {
    const std::uint32_t r = next();
    if (r >= threshold) return r % bound;
  }
}

int RandomGenerator::getInt(int low, int high) {
  if (high < low) std::swap(low, high);
  const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
  const std::uint32_t offset = span > 0xFFFFFFFFull ? next() : below(static_cast<std::uint32_t>(span));
  return static_cast<int>(static_cast<std::int64_t>(low) + offset);
}

// 53 random bits as a double in [0, 1).
double RandomGenerator::unit() {
  const std::uint64_t high = next() >> 5;
  const std::uint64_t low = next() >> 6;
  return static_cast<double>((high << 26) | low) / 9007199254740992.0;
}

double RandomGenerator::getDouble(double low, double high) {
  if (high < low) std::swap(low, high);
  const double value = low + unit() * (high - low);
  // Rounding may reach high itself; the range leaves it out.
  return value < high ? value : low;
}

float RandomGenerator::getFloat(float low, float high) {
  if (high < low) std::swap(low, high);
  const auto value = static_cast<float>(getDouble(low, high));
  return value < high ? value : low;
}

// Marsaglia's polar method; the second number of each pair is dropped, so
// the state stays the generator's only memory.
double RandomGenerator::getGaussian(double mean, double deviation) {
  double u = 0;
  double s = 0;
  do {
    u = 2.0 * unit() - 1.0;
    const double v = 2.0 * unit() - 1.0;
    s = u * u + v * v;
  } while (s >= 1.0 || s == 0.0);
  return mean + deviation * u * std::sqrt(-2.0 * std::log(s) / s);
}

int RandomGenerator::setState(const RandomState& state) {
  if ((state.increment & 1u) == 0) return -1;
  current = state;
  return 0;
}

std::string RandomGenerator::saveState() const {
  char text[64];
  std::snprintf(text, sizeof text, "pcg32 %016" PRIx64 " %016" PRIx64, current.state, current.increment);
  return text;
}

int RandomGenerator::restoreState(const std::string& text) {
  RandomState state;
  char rest = 0;
  if (std::sscanf(text.c_str(), "pcg32 %16" SCNx64 " %16" SCNx64 "%c", &state.state, &state.increment, &rest) != 2) {
    return -1;
  }
  return setState(state);
}

}  // namespace tw
