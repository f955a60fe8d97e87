// Art files of the REXPaint editor (.xp) made by the tests: layers of cells
// (CP437 glyph, foreground, background) written column by column, gzipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/Color.h"
#include "engine/platform/Gzip.h"

namespace tw_test {

struct XpCell {
  std::uint32_t glyph = ' ';
  tw::Rgb fg{255, 255, 255};
  tw::Rgb bg{255, 0, 255};  // transparent
};

struct XpLayer {
  int width = 0;
  int height = 0;
  std::vector<XpCell> cells;  // cell (x, y) at y * width + x
  XpLayer(int w, int h) : width(w), height(h), cells(static_cast<std::size_t>(w * h)) {}
  XpCell& at(int x, int y) { return cells[static_cast<std::size_t>(y * width + x)]; }
};

inline void appendInt32(std::string& out, std::int32_t value) {
  const std::uint32_t v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; i++) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The uncompressed bytes; with_version writes the version number newer
// files start with.
inline std::string xpBytes(const std::vector<XpLayer>& layers, bool with_version = true) {
  std::string out;
  if (with_version) appendInt32(out, -1);
  appendInt32(out, static_cast<std::int32_t>(layers.size()));
  for (const XpLayer& layer : layers) {
    appendInt32(out, layer.width);
    appendInt32(out, layer.height);
    for (int x = 0; x < layer.width; x++) {
      for (int y = 0; y < layer.height; y++) {
        const XpCell& c = layer.cells[static_cast<std::size_t>(y * layer.width + x)];
        appendInt32(out, static_cast<std::int32_t>(c.glyph));
        out += {static_cast<char>(c.fg.r), static_cast<char>(c.fg.g), static_cast<char>(c.fg.b),
                static_cast<char>(c.bg.r), static_cast<char>(c.bg.g), static_cast<char>(c.bg.b)};
      }
    }
  }
  return out;
}

inline bool writeXp(const std::string& path, const std::vector<XpLayer>& layers,
                    bool with_version = true) {
  std::string why;
  return tw::platform::writeGzipFile(path, xpBytes(layers, with_version), why);
}

}  // namespace tw_test
