#include "engine/core/Random.h"

#include "engine/platform/RandomSequence.h"

namespace tw {

namespace {
platform::RandomSequence& sequence() {
  static platform::RandomSequence the_sequence;
  return the_sequence;
}
}  // namespace

int randomNumber() { return sequence().next(); }

void seedRandomNumbers(unsigned seed) { sequence().seed(seed); }

}  // namespace tw
