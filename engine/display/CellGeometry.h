// The character-cell geometry of the window: cell size in pixels, conversions
// between cells and pixels and between world and view positions, and the
// justification of drawn strings.
#pragma once

#include "engine/world/Vector.h"

namespace tw {

enum Justification : int {
  JUSTIFY_LEFT = 0,
  JUSTIFY_CENTER = 1,
  JUSTIFY_RIGHT = 2,
};

// One cell's size in pixels, from the display manager's window size in pixels
// and in cells. A window of no cells has cells of size 0 (not a division by 0).
float charWidth();
float charHeight();

// Cells to pixels and back; an axis whose cell size is 0 converts to 0.
Vector spacesToPixels(Vector spaces);
Vector pixelsToSpaces(Vector pixels);

// World position minus the view's corner, and back.
Vector worldToView(Vector world_pos);
Vector viewToWorld(Vector view_pos);

}  // namespace tw
