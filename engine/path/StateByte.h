// The layout of a path search's state byte, one per node: which bit means what. The node
// map, the search and its eight-neighbour shortcut all derive their masks and shifts from
// the positions named here, so moving a field means changing this file alone.
#pragma once

#include <cstdint>

namespace tw {

struct StateByte {
  // Bit positions. The two marks say what the world's HARD objects do to a
  // node: BLOCKER alone blocks it, OPENER alone (an object holding the goal)
  // leaves it free, both at once leave it to the world to settle. OPEN and
  // CLOSED are the search's sets; the step from the node's best parent (an
  // index into the search's eight steps) fills the bits from STEP_SHIFT.
  static constexpr int BLOCKER_BIT = 0;
  static constexpr int OPENER_BIT = 1;
  static constexpr int OPEN_BIT = 2;
  static constexpr int CLOSED_BIT = 3;
  static constexpr int STEP_SHIFT = 4;

  static constexpr std::uint8_t BLOCKER = 1u << BLOCKER_BIT;
  static constexpr std::uint8_t OPENER = 1u << OPENER_BIT;
  static constexpr std::uint8_t MARKS = BLOCKER | OPENER;
  static constexpr std::uint8_t OPEN = 1u << OPEN_BIT;
  static constexpr std::uint8_t CLOSED = 1u << CLOSED_BIT;
  static constexpr unsigned STEP_MASK = 7;  // eight steps

  // The byte with its marks replaced, the search's bits kept.
  static constexpr std::uint8_t withMarks(std::uint8_t state, std::uint8_t marks) {
    return static_cast<std::uint8_t>((state & ~MARKS) | marks);
  }
  // A node entered by step from its best parent: open, its marks kept.
  static constexpr std::uint8_t opened(std::uint8_t state, unsigned step) {
    return static_cast<std::uint8_t>((state & MARKS) | OPEN | (step << STEP_SHIFT));
  }
  static constexpr unsigned stepOf(std::uint8_t state) { return (state >> STEP_SHIFT) & STEP_MASK; }
  // Marks that block for certain, and marks the world must settle.
  static constexpr bool isBlocked(std::uint8_t state) { return (state & MARKS) == BLOCKER; }
  static constexpr bool isUndecided(std::uint8_t state) { return (state & MARKS) == MARKS; }
};

static_assert((StateByte::MARKS & (StateByte::OPEN | StateByte::CLOSED)) == 0, "marks apart");
static_assert((StateByte::STEP_MASK << StateByte::STEP_SHIFT) <= 0xFFu, "the step fits the byte");
static_assert(((StateByte::STEP_MASK << StateByte::STEP_SHIFT) &
               (StateByte::MARKS | StateByte::OPEN | StateByte::CLOSED)) == 0,
              "the step above the flags");

}  // namespace tw
