// The browser page as the engine's browser presenter sees it: a canvas
// opened at the grid's size, one call per frame with the frame's drawing
// (a list of numbers, engine/platform/web/tarnwick.pre.js reads it), the
// screen's text mirror, the page's input queue and messages for the player.
#pragma once

#include <string>
#include <vector>

#include "engine/platform/InputCodes.h"

namespace tw {
namespace platform {
namespace page {

// Opens the canvas for cols x rows cells of cell_w x cell_h window pixels;
// background is 0xRRGGBB. 0, or -1 when the page has no canvas.
int open(int cols, int rows, float cell_w, float cell_h, unsigned background, float font_scale);
// Marks the game as ended on the page.
void close();
// Draws one frame from its drawing list.
void present(const std::vector<float>& list);
// Sets the page's text mirror of the screen (rows separated by line breaks).
void setScreenText(const std::string& text);
// The next queued input event, positions in cells; false when none waits.
bool pollEvent(InputEvent& event);
// Whether a held key's repeats count as new presses.
void setKeyRepeat(bool enabled);
// Shows text to the player on the page and in the browser's console.
void showMessage(const std::string& text, bool error);

}  // namespace page
}  // namespace platform
}  // namespace tw
