// The character-cell geometry of the window: cell size in pixels, conversions
// between cells and pixels and between world and view positions, and the
// justification of drawn strings.
#pragma once

#include "engine/platform/Export.h"
#include "engine/world/Vector.h"

namespace tw {

enum Justification : int {
  JUSTIFY_LEFT = 0,
  JUSTIFY_CENTER = 1,
  JUSTIFY_RIGHT = 2,
};

// One cell's size in pixels, from the display manager's window size in pixels
// and in cells. A window of no cells has cells of size 0 (not a division by 0).
TW_API float charWidth();
TW_API float charHeight();

// Cells to pixels and back; an axis whose cell size is 0 converts to 0.
TW_API Vector spacesToPixels(Vector spaces);
TW_API Vector pixelsToSpaces(Vector pixels);

// World position minus the view's corner, and back.
TW_API Vector worldToView(Vector world_pos);
TW_API Vector viewToWorld(Vector view_pos);

}  // namespace tw
