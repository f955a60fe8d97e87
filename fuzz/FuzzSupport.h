// What the fuzz harnesses share: an engine started quietly (the log written
// to /dev/null), the test sprites loaded, and a check that stops the run with
// a message when an invariant of a reader does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw_fuzz {

// Starts the log (to /dev/null) and the resource manager once, and with
// world set the world manager too, with the sprites "good" and "robust" of
// tests/data loaded so that record animations can name them.
void startEngine(bool world);

// The input as a string of the same bytes.
std::string bytesOf(const std::uint8_t* data, std::size_t size);

// Aborts with what (libFuzzer then keeps the input) when ok is false.
void require(bool ok, const char* what);

}  // namespace tw_fuzz
