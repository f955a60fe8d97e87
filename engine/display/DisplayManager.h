// The display manager: collects what a frame draws (characters at world
// positions on the grid of cells, and shapes) into a draw list, and hands the
// finished list to the active presenter (window, terminal or capture).
#pragma once

#include "engine/core/Color.h"
#include "engine/platform/Export.h"
#include "engine/core/Manager.h"
#include "engine/display/CellGeometry.h"
#include "engine/display/CellGrid.h"
#include "engine/world/Canvas.h"
#include "engine/world/Vector.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tw {

class DrawList;
class Presenter;
struct CanvasCell;

// Channels used for a character drawn in CUSTOM or an unsupported colour.
const std::uint8_t FALLBACK_CHANNEL = 255;

class TW_API DisplayManager : public Manager, public Canvas {
 public:
  static DisplayManager& getInstance();
  ~DisplayManager() override;

  // Opens the configured presenter (none for display "none"/headless).
  // 0 on success, -1 on failure (logged).
  int startUp() override;
  void shutDown() override;

  // Draws one character at a world position (cells); 0 drawn, -1 not drawn.
  // The character goes into this frame's draw list at its view position. A
  // character that does not fit one cell (a control, wide or zero-width one)
  // is drawn as U+FFFD, the replacement character, and so is a char beyond
  // ASCII: alone it is only part of a UTF-8 character.
  int drawCharacter(Vector world_pos, char ch, Color color, float rotation = 0.0f) const;
  int drawCharacter(Vector world_pos, char32_t ch, Color color,
                    float rotation = 0.0f) const override;
  int drawCharacter(Vector world_pos, char ch, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                    float rotation = 0.0f) const;
  int drawCharacter(Vector world_pos, char32_t ch, std::uint8_t r, std::uint8_t g,
                    std::uint8_t b, float rotation = 0.0f) const;
  // A character given as an int (what arithmetic such as 'a' + i gives, or an
  // unsigned char promotes to) is a code point; a negative one is drawn as
  // U+FFFD.
  int drawCharacter(Vector world_pos, int ch, Color color, float rotation = 0.0f) const;
  int drawCharacter(Vector world_pos, int ch, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                    float rotation = 0.0f) const;
  // A character in fg over a background of its own cell, bg, instead of the
  // frame's. As engine colours, UNDEFINED_COLOR as bg keeps the frame's
  // background (CUSTOM and other unsupported values show white).
  int drawCharacter(Vector world_pos, char32_t ch, Rgb fg, Rgb bg) const;
  int drawCharacter(Vector world_pos, char32_t ch, Color fg, Color bg) const;
  int drawCharacter(Vector world_pos, char ch, Color fg, Color bg) const;
  int drawCharacter(Vector world_pos, int ch, Color fg, Color bg) const;
  // Any colour, over the cell's own background or, when background is null,
  // the frame's: what the overloads above and frames drawn in colours per
  // cell come to.
  int drawCell(Vector world_pos, char32_t ch, Rgb color, const Rgb* background) const override;
  // Draws count cells of a canvas rightwards from a world position, each
  // over its own background: a canvas's row at once. 0, or -1 when not drawn.
  int drawCellRow(Vector world_pos, const CanvasCell* cells, int count) const;
  // Draws str, UTF-8 text, one character per cell, placed by justification
  // on its length in characters. Invalid UTF-8 and characters that do not
  // fit one cell take one cell each, as U+FFFD, the replacement character.
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;
  // The same with every cell over a background of its own (UNDEFINED_COLOR
  // as bg: the frame's).
  int drawString(Vector world_pos, std::string str, Justification just, Color fg, Color bg) const;
  int drawString(Vector world_pos, std::string str, Justification just, Rgb fg, Rgb bg) const;
  // Draws a filled shape whose outline is measured from a world position.
  int drawShape(Vector world_pos, const ShapeOutline& outline, Rgb color, std::uint8_t alpha,
                float rotation) const override;
  // Started with a presenter.
  bool canDraw() const override;
  // Hands the frame drawn since the last call to the presenter, keeps it as
  // the last finished frame and starts an empty one.
  int swapBuffers();

  // Writes the last finished frame as a PNG picture, painted with the
  // engine's font in cells of the window's size (rounded to whole pixels),
  // whatever the presenter. 0, or -1 with a log line (headless mode, no
  // font, the file cannot be written; none in a browser page).
  int saveScreenshot(const std::string& filename) const;

  // The last finished frame as cells (rebuilt only after a swap). Empty
  // (0 x 0) in headless mode.
  const CellGrid& snapshot() const;
  // \cond INTERNAL
  // The engine's own, not for games (left out of the API reference; may
  // change in any release):
  // The frame being drawn, in drawing order (the engine's own type: its
  // header is not installed).
  const DrawList& getFrame() const;
  // The last finished frame, as the presenter was handed it.
  const DrawList& getLastFrame() const;
  // \endcond

  // The colour behind the characters from the next frame on (the window and
  // the last finished frame's cells; a terminal keeps its own until restart).
  void setBackgroundColor(Color color);
  // The colour behind the characters, as channels.
  Rgb getBackground() const;

  int getHorizontalChars() const;
  int getVerticalChars() const;
  int getHorizontalPixels() const;
  int getVerticalPixels() const;
  // What shows the frames: "window", "terminal", "capture" (the browser
  // page's canvas is "window"); "" before start-up and when headless.
  std::string getPresenterName() const;
  // \cond INTERNAL
  // The engine's own, not for games (left out of the API reference; may
  // change in any release):
  // The active presenter; null before start-up, after shut-down and in
  // headless mode. Presenters are the engine's own (their headers are not
  // installed).
  Presenter* getPresenter() const;
  // \endcond

 private:
  DisplayManager();
  DisplayManager(const DisplayManager&) = delete;
  void operator=(const DisplayManager&) = delete;
  int openPresenter();
  int drawText(Vector world_pos, const std::string& str, Justification just, Rgb fg,
               const Rgb* bg) const;
  void writeSnapshotFile() const;

  std::unique_ptr<Presenter> presenter;
  int window_horizontal_pixels;
  int window_vertical_pixels;
  int window_horizontal_chars;
  int window_vertical_chars;
  Rgb window_background_color;
  // The frame being drawn and the last finished one, behind a pointer so that
  // this header need not show them. Drawing goes through the const draw
  // operations, which add to frame through the reference.
  std::unique_ptr<DrawList[]> draw_lists;
  DrawList& frame;       // draw_lists[0]
  DrawList& last_frame;  // draw_lists[1]
  mutable CellGrid last_grid;
  mutable bool grid_current;
};

}  // namespace tw
