// The engine's random numbers: one sequence, seeded by the game manager at
// start-up (from random_seed, or from a replay's recording), that gives the
// same numbers for a seed in every build, native or in a browser. Games draw
// from it where a replay must come out the same on every platform; rand()
// differs between C libraries.
#pragma once

#include "engine/platform/Export.h"

namespace tw {

// The largest number randomNumber() gives.
const int RANDOM_MAX = 2147483647;

// The next number of the sequence, 0 to RANDOM_MAX.
TW_API int randomNumber();
// Restarts the sequence; the same seed gives the same numbers.
TW_API void seedRandomNumbers(unsigned seed);
// The seed the sequence was last started with (a replay's is its recording's).
TW_API unsigned getRandomSeed();

}  // namespace tw
