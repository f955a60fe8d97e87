#include "engine/display/CellGeometry.h"

#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {

float cellSize(int pixels, int cells) {
  if (cells <= 0) return 0.0f;
  return static_cast<float>(pixels) / static_cast<float>(cells);
}

float divideOrZero(float value, float size) { return size == 0.0f ? 0.0f : value / size; }

}  // namespace

float charWidth() {
  const DisplayManager& dm = DisplayManager::getInstance();
  return cellSize(dm.getHorizontalPixels(), dm.getHorizontalChars());
}

float charHeight() {
  const DisplayManager& dm = DisplayManager::getInstance();
  return cellSize(dm.getVerticalPixels(), dm.getVerticalChars());
}

Vector spacesToPixels(Vector spaces) {
  Vector pixels(spaces.getX() * charWidth(), spaces.getY() * charHeight());
  LogManager::getInstance().writeLog(
      30, "spacesToPixels(int): spaces (%.2f,%.2f) = pixels (%.2f,%.2f)",
      static_cast<double>(spaces.getX()), static_cast<double>(spaces.getY()),
      static_cast<double>(pixels.getX()), static_cast<double>(pixels.getY()));
  return pixels;
}

Vector pixelsToSpaces(Vector pixels) {
  Vector spaces(divideOrZero(pixels.getX(), charWidth()),
                divideOrZero(pixels.getY(), charHeight()));
  LogManager::getInstance().writeLog(
      30, "pixelsToSpaces(): pixels (%.2f,%.2f) = spaces (%.2f,%.2f)",
      static_cast<double>(pixels.getX()), static_cast<double>(pixels.getY()),
      static_cast<double>(spaces.getX()), static_cast<double>(spaces.getY()));
  return spaces;
}

Vector worldToView(Vector world_pos) {
  return world_pos - WorldManager::getInstance().getView().getCorner();
}

Vector viewToWorld(Vector view_pos) {
  return view_pos + WorldManager::getInstance().getView().getCorner();
}

}  // namespace tw
