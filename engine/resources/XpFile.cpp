#include "engine/resources/XpFile.h"

#include "engine/core/LogManager.h"
#include "engine/core/Unicode.h"
#include "engine/platform/Gzip.h"
#include "engine/world/Frame.h"
#include "engine/world/Sprite.h"

namespace tw {

namespace {

const CellCanvas NO_LAYER(0, 0);

// The glyphs below 32 and 127 to 255 of code page 437; 32 to 126 are ASCII.
const char16_t CP437_LOW[32] = {
    u' ',      u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC'};
const char16_t CP437_HIGH[129] = {
    u'\u2302',
    u'\u00C7', u'\u00FC', u'\u00E9', u'\u00E2', u'\u00E4', u'\u00E0', u'\u00E5', u'\u00E7',
    u'\u00EA', u'\u00EB', u'\u00E8', u'\u00EF', u'\u00EE', u'\u00EC', u'\u00C4', u'\u00C5',
    u'\u00C9', u'\u00E6', u'\u00C6', u'\u00F4', u'\u00F6', u'\u00F2', u'\u00FB', u'\u00F9',
    u'\u00FF', u'\u00D6', u'\u00DC', u'\u00A2', u'\u00A3', u'\u00A5', u'\u20A7', u'\u0192',
    u'\u00E1', u'\u00ED', u'\u00F3', u'\u00FA', u'\u00F1', u'\u00D1', u'\u00AA', u'\u00BA',
    u'\u00BF', u'\u2310', u'\u00AC', u'\u00BD', u'\u00BC', u'\u00A1', u'\u00AB', u'\u00BB',
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556',
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510',
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F',
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567',
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B',
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580',
    u'\u03B1', u'\u00DF', u'\u0393', u'\u03C0', u'\u03A3', u'\u03C3', u'\u00B5', u'\u03C4',
    u'\u03A6', u'\u0398', u'\u03A9', u'\u03B4', u'\u221E', u'\u03C6', u'\u03B5', u'\u2229',
    u'\u2261', u'\u00B1', u'\u2265', u'\u2264', u'\u2320', u'\u2321', u'\u00F7', u'\u2248',
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u207F', u'\u00B2', u'\u25A0', u'\u00A0'};

// Little-endian reads from the bytes, refusing to run past their end.
struct Reader {
  const std::string& bytes;
  std::size_t at = 0;

  bool has(std::size_t n) const { return bytes.size() - at >= n; }
  std::uint8_t byte() { return static_cast<std::uint8_t>(bytes[at++]); }
  std::int32_t int32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; i++) v |= static_cast<std::uint32_t>(byte()) << (8 * i);
    return static_cast<std::int32_t>(v);
  }
  Rgb rgb() {
    const std::uint8_t r = byte(), g = byte();
    return Rgb{r, g, byte()};
  }
};

const std::size_t CELL_BYTES = 10;  // glyph (4), foreground (3), background (3)

// One layer: its size, then its cells column by column.
bool readLayer(Reader& in, int index, CellCanvas& layer, std::string& why) {
  const std::string name = "layer " + std::to_string(index + 1);
  if (!in.has(8)) {
    why = name + " has no size: the file ends after " + std::to_string(in.at) + " bytes";
    return false;
  }
  const int width = in.int32(), height = in.int32();
  if (width < 1 || height < 1 || width > XpFile::MAX_SIDE || height > XpFile::MAX_SIDE) {
    why = name + " is " + std::to_string(width) + " x " + std::to_string(height) +
          " cells (each side must be 1 to " + std::to_string(XpFile::MAX_SIDE) + ")";
    return false;
  }
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (!in.has(count * CELL_BYTES)) {
    why = name + " is cut short: " + std::to_string(count) + " cells need " +
          std::to_string(count * CELL_BYTES) + " bytes, " + std::to_string(in.bytes.size() - in.at) +
          " are left";
    return false;
  }
  layer = CellCanvas(width, height);
  for (int x = 0; x < width; x++) {
    for (int y = 0; y < height; y++) {
      const char32_t ch = XpFile::cp437ToUnicode(static_cast<std::uint32_t>(in.int32()));
      const Rgb fg = in.rgb();
      layer.put(x, y, ch, fg, in.rgb());
    }
  }
  return true;
}

}  // namespace

char32_t XpFile::cp437ToUnicode(std::uint32_t glyph) {
  if (glyph < 32) return CP437_LOW[glyph];
  if (glyph < 127) return glyph;
  if (glyph < 256) return CP437_HIGH[glyph - 127];
  return REPLACEMENT_CHARACTER;
}

int XpFile::parse(const std::string& bytes, std::string& why) {
  Reader in{bytes};
  if (!in.has(4)) {
    why = "it is too short to hold a layer count";
    return -1;
  }
  // Files since the editor's version 1 start with a negative version number.
  int layer_count = in.int32();
  if (layer_count < 0) {
    if (!in.has(4)) {
      why = "it ends after its version number";
      return -1;
    }
    layer_count = in.int32();
  }
  if (layer_count < 1 || layer_count > MAX_LAYERS) {
    why = "it says it has " + std::to_string(layer_count) + " layers (1 to " +
          std::to_string(MAX_LAYERS) + " are possible)";
    return -1;
  }
  std::vector<CellCanvas> read(static_cast<std::size_t>(layer_count), CellCanvas(0, 0));
  for (int i = 0; i < layer_count; i++) {
    if (!readLayer(in, i, read[static_cast<std::size_t>(i)], why)) return -1;
  }
  if (in.at != bytes.size()) {
    why = std::to_string(bytes.size() - in.at) + " bytes follow the last layer";
    return -1;
  }
  layers.swap(read);
  return 0;
}

int XpFile::load(const std::string& filename) {
  std::string bytes, why;
  if (!platform::readGzipFile(filename, bytes, why) || parse(bytes, why) != 0) {
    LogManager::getInstance().writeLog("XpFile::load(): Error! Cannot read '%s': %s.",
                                       filename.c_str(), why.c_str());
    return -1;
  }
  return 0;
}

int XpFile::getLayerCount() const { return static_cast<int>(layers.size()); }

const CellCanvas& XpFile::getLayer(int i) const {
  if (i < 0 || i >= getLayerCount()) return NO_LAYER;
  return layers[static_cast<std::size_t>(i)];
}

CellCanvas XpFile::flatten() const {
  if (layers.empty()) return CellCanvas(0, 0);
  CellCanvas image(layers[0].getWidth(), layers[0].getHeight());
  image.fill(U' ', Rgb{255, 255, 255}, TRANSPARENT);
  CanvasCopy how;
  how.keyed = true;
  how.key = TRANSPARENT;
  for (const CellCanvas& layer : layers) layer.copyTo(image, 0, 0, how);
  return image;
}

Sprite* XpFile::makeSprite(const std::string& label) const {
  if (layers.empty()) return nullptr;
  const CellCanvas image = flatten();
  const int width = image.getWidth(), height = image.getHeight();
  std::u32string text;
  std::vector<CellColors> colors;
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      const CanvasCell& cell = image.at(x, y);
      const bool shown = cell.bg != TRANSPARENT;
      text += shown ? cell.ch : U' ';
      colors.push_back(CellColors{cell.fg, cell.bg, shown});
    }
  }
  Frame frame(width, height, text);
  frame.setCellColors(std::move(colors));
  Sprite* sprite = new Sprite(1);
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->addFrame(frame);
  sprite->setLabel(label);
  return sprite;
}

}  // namespace tw
