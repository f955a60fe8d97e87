#include "engine/platform/RandomSequence.h"

namespace tw {
namespace platform {

namespace {
const int DEGREE = 31;
const int SEPARATION = 3;
// Outputs thrown away after seeding, so that the seed's traces are mixed out.
const int WARM_UP = 10 * DEGREE;
}  // namespace

RandomSequence::RandomSequence() { seed(1); }

void RandomSequence::seed(unsigned value) {
  // Seed 0 would leave the state all zeros.
  std::int32_t word = value == 0 ? 1 : static_cast<std::int32_t>(value);
  state[0] = static_cast<std::uint32_t>(word);
  for (int i = 1; i < DEGREE; i++) {
    // 16807 * word mod (2^31 - 1), split (Schrage) so that nothing overflows.
    const std::int32_t high = word / 127773;
    const std::int32_t low = word % 127773;
    word = 16807 * low - 2836 * high;
    if (word < 0) word += 2147483647;
    state[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(word);
  }
  // The ring holds DEGREE words; front walks it, the other tap SEPARATION
  // words behind.
  front = SEPARATION;
  for (int i = 0; i < WARM_UP; i++) next();
}

int RandomSequence::next() {
  const int rear = (front + DEGREE - SEPARATION) % DEGREE;
  state[static_cast<std::size_t>(front)] += state[static_cast<std::size_t>(rear)];
  const std::uint32_t result = state[static_cast<std::size_t>(front)] >> 1;
  front = (front + 1) % DEGREE;
  return static_cast<int>(result);
}

}  // namespace platform
}  // namespace tw
