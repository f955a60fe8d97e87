#include "engine/core/Color.h"

#include "engine/core/LogManager.h"

namespace tw {

namespace {

struct ColorEntry {
  std::uint8_t r, g, b;
  const char* name;
};

// Indexed by the colour's value, BLACK to WHITE.
const ColorEntry COLOR_TABLE[] = {
    {0, 0, 0, "Black"},     {255, 0, 0, "Red"},       {0, 255, 0, "Green"},
    {255, 255, 0, "Yellow"}, {0, 0, 255, "Blue"},      {255, 0, 255, "Magenta"},
    {0, 255, 255, "Cyan"},   {255, 255, 255, "White"},
};

const ColorEntry* findColor(Color color) {
  if (color < BLACK || color > WHITE) return nullptr;
  return &COLOR_TABLE[color];
}

}  // namespace

void colorToRGB(Color color, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
  const ColorEntry* entry = findColor(color);
  if (entry == nullptr) {
    if (color != CUSTOM) {
      LogManager::getInstance().writeLog(5, "colorToRGB(): Color %d not supported.",
                                         static_cast<int>(color));
    }
    return;
  }
  r = entry->r;
  g = entry->g;
  b = entry->b;
}

Rgb colorToRgb(Color color) {
  const ColorEntry* entry = findColor(color);
  if (entry != nullptr) return Rgb{entry->r, entry->g, entry->b};
  if (color == CUSTOM) {
    LogManager::getInstance().writeLog(5, "colorToRgb(): Color is CUSTOM.");
  } else {
    LogManager::getInstance().writeLog(5, "colorToRgb(): Color %d not supported.",
                                       static_cast<int>(color));
  }
  return Rgb{255, 255, 255};
}

std::string colorToString(Color color) {
  const ColorEntry* entry = findColor(color);
  return entry != nullptr ? entry->name : "Unknown color";
}

}  // namespace tw
