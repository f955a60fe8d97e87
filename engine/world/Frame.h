// One rectangular character-art picture: its size and its rows stored one
// after another. Drawing hands each visible character to the display manager.
#pragma once

#include <string>

#include "engine/platform/Export.h"
#include "engine/core/Color.h"
#include "engine/world/Vector.h"

namespace tw {

class TW_API Frame {
 public:
  // An empty frame (0 by 0) that draws nothing.
  Frame();
  // frame_str holds the rows one after another, row 0 first, no separators.
  Frame(int new_width, int new_height, std::string new_frame_str);

  int getWidth() const;
  int getHeight() const;
  std::string getString() const;
  // The rows without a copy, for drawing and dumping.
  const std::string& getStringRef() const;

  // Where character (x, y) lands when the frame is centred on position: a
  // width of 4 puts the columns 1.5 cells left to 1.5 cells right of it.
  Vector cellPosition(Vector position, int x, int y) const;

  // Draws the frame centred on position in color, skipping every character
  // equal to transparent (0: none skipped). Stops with -1 at the first
  // character the display refuses; 0 otherwise, also for an empty frame.
  int draw(Vector position, Color color, char transparent = 0) const;

 private:
  int width;              // characters per row
  int height;             // rows
  std::string frame_str;  // character (x, y) at y * width + x
};

}  // namespace tw
