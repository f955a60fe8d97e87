#include "engine/core/Random.h"

#include "engine/platform/RandomSequence.h"

namespace tw {

namespace {
platform::RandomSequence& sequence() {
  static platform::RandomSequence the_sequence;
  return the_sequence;
}
unsigned last_seed = 0;
}  // namespace

int randomNumber() { return sequence().next(); }

void seedRandomNumbers(unsigned seed) {
  last_seed = seed;
  sequence().seed(seed);
}

unsigned getRandomSeed() { return last_seed; }

}  // namespace tw
