// What objects draw their frames and shapes on: characters at world positions
// in cells, and filled shapes. The display manager, a layer above, is the
// canvas of a running engine and puts itself here when it is made.
#pragma once

#include <cstdint>

#include "engine/platform/Export.h"
#include "engine/core/Color.h"
#include "engine/world/Vector.h"

namespace tw {

// A filled regular polygon as a shape is drawn: `points` corners on a circle
// of `radius` pixels, whose bounding square's top-left corner lies `offset_x`,
// `offset_y` pixels from the position it is drawn at and which is turned by
// the drawing's rotation about that corner.
struct TW_API ShapeOutline {
  int points = 0;
  float radius = 0.0f;    // pixels
  float offset_x = 0.0f;  // pixels
  float offset_y = 0.0f;  // pixels
};

class TW_API Canvas {
 public:
  virtual ~Canvas() = default;
  // Draws one Unicode character; 0 drawn, -1 not drawn.
  virtual int drawCharacter(Vector world_pos, char32_t ch, Color color, float rotation) const = 0;
  // Draws one Unicode character in any colour over its own background, or
  // over the frame's when background is null; 0 drawn, -1 not drawn.
  virtual int drawCell(Vector world_pos, char32_t ch, Rgb color, const Rgb* background) const = 0;
  virtual int drawShape(Vector world_pos, const ShapeOutline& outline, Rgb color,
                        std::uint8_t alpha, float rotation) const = 0;
  // False when nothing can be shown (headless, not started).
  virtual bool canDraw() const = 0;

  // The canvas objects draw on; null until one is set.
  static const Canvas* get();
  static void set(const Canvas* p_canvas);
};

}  // namespace tw
