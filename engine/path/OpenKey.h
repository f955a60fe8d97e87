// The key that orders a path search's open set: the smallest key is the node to expand
// next. Its layout decides the search's tie-breaking, so it is written down here once and
// only built and taken apart through these functions.
#pragma once

#include <cstdint>
#include <cstring>

namespace tw {

// Bits 63..32: f's float bits. f is never negative, and non-negative floats
// order like their bits, so the high half orders by f.
// Bits 31..0: the node's order number (when it entered the open set),
// inverted, so among equal f the node found most recently has the smallest
// key. That is the plain search's choice: it scans its open list from the end
// and only a strictly smaller f replaces the one it holds.
struct OpenKey {
  using Bits = std::uint64_t;

  static Bits make(float f, std::uint32_t order) {
    std::uint32_t f_bits = 0;
    std::memcpy(&f_bits, &f, sizeof f_bits);
    return (static_cast<Bits>(f_bits) << 32) | static_cast<Bits>(~order);
  }
  static float fOf(Bits key) {
    const auto f_bits = static_cast<std::uint32_t>(key >> 32);
    float f = 0.0f;
    std::memcpy(&f, &f_bits, sizeof f);
    return f;
  }
  static std::uint32_t orderOf(Bits key) { return ~static_cast<std::uint32_t>(key); }
};

}  // namespace tw
