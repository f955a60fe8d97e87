#include "engine/display/CellFilling.h"

namespace tw {

namespace {
const char32_t FIRST_CELL_FILLING = 0x2500;
const char32_t LAST_CELL_FILLING = 0x259F;
}  // namespace

bool fillsCell(char32_t code) { return code >= FIRST_CELL_FILLING && code <= LAST_CELL_FILLING; }

}  // namespace tw
