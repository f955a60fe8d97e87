// Art files of the REXPaint editor (.xp): gzip-compressed layers of cells,
// each a CP437 glyph with a foreground and a background colour. Read into
// one canvas per layer, flattened into one, or made a one-frame sprite.
#pragma once

#include "engine/core/Color.h"
#include "engine/display/CellCanvas.h"
#include "engine/platform/Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

class Sprite;

class TW_API XpFile {
 public:
  // The background that marks a cell as transparent (left out when layers
  // are laid over each other).
  static constexpr Rgb TRANSPARENT{255, 0, 255};
  // Layers and cells a file may hold: more is taken for damage.
  static const int MAX_LAYERS = 64;
  static const int MAX_SIDE = 4096;

  // Reads the file; 0, or -1 with one log line naming the file and what is
  // wrong (what was loaded before stays as it was).
  int load(const std::string& filename);
  // The same from the uncompressed bytes; why says what is wrong.
  int parse(const std::string& bytes, std::string& why);

  int getLayerCount() const;
  // Layer i (0 the bottom one); an empty canvas out of range.
  const CellCanvas& getLayer(int i) const;
  // Every layer laid over the one below, transparent cells left out; where
  // no layer has a cell, the cell is a blank with the transparent background.
  CellCanvas flatten() const;
  // A one-frame sprite (the caller owns it) of the flattened image with a
  // colour and background per cell; a transparent cell is a blank showing
  // the frame's background. Null when nothing is loaded.
  Sprite* makeSprite(const std::string& label) const;

  // The Unicode character of a CP437 glyph (0 is a blank); U+FFFD beyond 255.
  static char32_t cp437ToUnicode(std::uint32_t glyph);

 private:
  std::vector<CellCanvas> layers;
};

}  // namespace tw
