// The browser page as the engine's browser presenter sees it: a canvas
// opened at the grid's size, one call per frame with the frame's drawing
// (a list of numbers laid out as engine/platform/PageLayout.h says), the
// screen's text mirror, the page's input queue and messages for the player.
#pragma once

#include <string>
#include <vector>

#include "engine/platform/InputCodes.h"
#include "engine/platform/PageLayout.h"

namespace tw {
namespace platform {
namespace page {

// Where the page puts the font it loaded for the canvas, in the program's
// files (font.js writes it there before the program starts).
const char* const FONT_FILE = "/tw-font.ttf";

// Opens the canvas, its glyphs drawn by fits (PageLayout.h's fit table), and
// names the page's tab after the game (the window's title); 0, or -1 when the
// page has no canvas.
int open(const CanvasGeometry& geometry, const std::vector<float>& fits,
         const std::string& title);
// Marks the game as ended on the page.
void close();
// Draws one frame from its drawing list (PageLayout.h's CharacterField and
// ShapeField items).
void present(const std::vector<float>& list);
// Sets the page's text mirror of the screen (rows separated by line breaks).
void setScreenText(const std::string& text);
// The next queued input event, positions in cells; false when none waits.
bool pollEvent(InputEvent& event);
// Whether a held key's repeats count as new presses.
void setKeyRepeat(bool enabled);
// Shows text to the player on the page and in the browser's console.
void showMessage(const std::string& text, bool error);
// The next data file the development server pushed (already written into the
// program's files), by its path; false when none waits.
bool takeChangedFile(std::string& path);

}  // namespace page
}  // namespace platform
}  // namespace tw
