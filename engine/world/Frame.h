// One rectangular character-art picture: its size and its rows stored one
// after another, as UTF-8 text and as the cells it shows. Drawing hands each
// visible character to the display manager.
#pragma once

#include <string>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Color.h"
#include "engine/world/Vector.h"

namespace tw {

// A cell's own colour in a frame that has them, and its background when
// has_background is set (else the frame's background shows).
struct TW_API CellColors {
  Rgb fg{255, 255, 255};
  Rgb bg;
  bool has_background = false;
};

class TW_API Frame {
 public:
  // An empty frame (0 by 0) that draws nothing.
  Frame();
  // frame_str holds the rows one after another, row 0 first, no separators,
  // in UTF-8: each character takes one cell, so a row is width characters
  // (not bytes) long. A character that does not fit one cell (invalid UTF-8,
  // a control, wide or zero-width character) shows as U+FFFD, the
  // replacement character.
  Frame(int new_width, int new_height, std::string new_frame_str);
  // The same from the characters themselves.
  Frame(int new_width, int new_height, const std::u32string& new_cells);

  int getWidth() const;
  int getHeight() const;
  // The rows as given, in UTF-8.
  std::string getString() const;
  // The rows without a copy, for drawing and dumping.
  const std::string& getStringRef() const;
  // The character of every cell, row 0 first: character (x, y) at
  // y * width + x. What the frame draws.
  const std::u32string& getCells() const;

  // Gives every cell a colour of its own, one entry per cell laid out as
  // getCells; drawing then ignores the colour it is given. 0, or -1 (the
  // colours left as they were) when the list's size is not width x height.
  // An empty list gives the cells back the colour drawing is given.
  int setCellColors(std::vector<CellColors> colors);
  // Empty when the frame has no colours per cell.
  const std::vector<CellColors>& getCellColors() const;

  // Where character (x, y) lands when the frame is centred on position: a
  // width of 4 puts the columns 1.5 cells left to 1.5 cells right of it.
  Vector cellPosition(Vector position, int x, int y) const;

  // Draws the frame centred on position in color, skipping every character
  // equal to transparent (0: none skipped). Stops with -1 at the first
  // character the display refuses; 0 otherwise, also for an empty frame.
  int draw(Vector position, Color color, char transparent = 0) const;
  // The same with any transparent character (0: none skipped).
  int drawSkipping(Vector position, Color color, char32_t transparent) const;

 private:
  int width;              // characters per row
  int height;             // rows
  std::string frame_str;  // the rows in UTF-8
  std::u32string cells;   // character (x, y) at y * width + x
  std::vector<CellColors> cell_colors;  // as cells, or empty
};

}  // namespace tw
