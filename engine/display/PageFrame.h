// A finished frame as the browser's painter draws it: the list of numbers
// engine/platform/PageLayout.h lays out (characters with the cell boxes they
// hide, shapes as corners in window pixels) and the geometry the painter is
// made with. The page presenter and the spectators' feed both encode here.
#pragma once

#include <string>
#include <vector>

#include "engine/display/CellCoverage.h"
#include "engine/display/DrawList.h"
#include "engine/platform/PageLayout.h"

namespace tw {

struct PresenterSettings;

class PageFrame {
 public:
  // Cells of the settings' grid over pixels_x x pixels_y window pixels.
  // False when the cells would have no size.
  bool open(const PresenterSettings& settings, int pixels_x, int pixels_y);
  const platform::page::CanvasGeometry& getGeometry() const { return geometry; }
  float getCellWidth() const { return geometry.cell_w; }
  float getCellHeight() const { return geometry.cell_h; }

  // Lays frame out as the drawing list (getList) and returns it.
  const std::vector<float>& encode(const DrawList& frame);
  const std::vector<float>& getList() const { return list; }
  // Background boxes the last frame drew (the rest were skipped).
  int getBackgroundsDrawn() const { return backgrounds_drawn; }

 private:
  void addCharacter(const DrawItem& item);
  void addShape(const DrawItem& item);
  // numbers more entries at the list's end, to be filled in.
  float* addItem(std::size_t numbers);

  platform::page::CanvasGeometry geometry;
  CellCoverage coverage;
  std::vector<float> corners;  // the shape being drawn, x0, y0, x1, y1 ...
  std::vector<float> list;
  int backgrounds_drawn = 0;
};

// The geometry as a JSON object with the names the page's painter takes
// (cols, rows, cellW, cellH, boxLeft, boxTop, fillOverlap, background as
// 0xRRGGBB, fontScale), and fits, the fit table the painter draws glyphs by
// (engine/display/PageFits.h).
std::string pageGeometryJson(const platform::page::CanvasGeometry& geometry,
                             const std::vector<float>& fits);

}  // namespace tw
