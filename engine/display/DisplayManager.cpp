#include "engine/display/DisplayManager.h"

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/platform/Sfml.h"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdlib>
#include <new>

namespace tw {

namespace {

// The largest window side the X protocol and the drawing code accept.
const int MAX_WINDOW_PIXELS = 32767;
const unsigned INITIAL_CHARACTER_SIZE = 30;
const unsigned MAX_CHARACTER_SIZE = 4096;
// The characters whose glyphs are loaded at start-up.
const char FIRST_PRINTABLE = ' ';
const char LAST_PRINTABLE = '~';

// The font scale times the smaller cell side, truncated toward zero.
unsigned characterSize(float font_scale, float width, float height) {
  float size = font_scale * (width < height ? width : height);
  if (!(size > 0.0f)) return 0;  // also catches NaN
  if (size >= static_cast<float>(MAX_CHARACTER_SIZE)) return MAX_CHARACTER_SIZE;
  return static_cast<unsigned>(size);
}

bool validWindowSize(int width, int height) {
  return width > 0 && height > 0 && width <= MAX_WINDOW_PIXELS && height <= MAX_WINDOW_PIXELS;
}

}  // namespace

DisplayManager::DisplayManager()
    : p_window(nullptr),
      window_horizontal_pixels(0),
      window_vertical_pixels(0),
      window_horizontal_chars(0),
      window_vertical_chars(0),
      p_rectangle(nullptr),
      window_background_color(sf::Color::Black),
      p_text(nullptr),
      batch(platform::createTriangleBatch()),
      batch_characters(0) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() { release(); }

DisplayManager& DisplayManager::getInstance() {
  static DisplayManager display_manager;
  return display_manager;
}

int DisplayManager::startUp() {
  LogManager& log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                 getType().c_str());
    return -1;
  }
  const Config& config = Config::getInstance();
  window_horizontal_pixels = config.getWindowHorizontalPixels();
  window_vertical_pixels = config.getWindowVerticalPixels();
  window_horizontal_chars = config.getWindowHorizontalChars();
  window_vertical_chars = config.getWindowVerticalChars();
  if (config.getHeadless()) {
    log.writeLog(1, "DisplayManager::startUp(): no graphics in headless mode.");
  } else {
    release();  // leftovers of an earlier failed start-up
    if (openWindow() != 0 || prepareDrawing() != 0) return -1;
  }
  Manager::startUp();
  log.writeLog(5, "DisplayManager::startUp(): successfully started.");
  return 0;
}

// Opens the window at the configured size (0 meaning the desktop's).
int DisplayManager::openWindow() {
  LogManager& log = LogManager::getInstance();
  unsigned desktop_width = 0;
  unsigned desktop_height = 0;
  if (!platform::getDesktopSize(desktop_width, desktop_height)) {
    const char* name = std::getenv("DISPLAY");
    log.writeLog("DisplayManager::startUp(): Error! Unable to open display '%s'.",
                 name != nullptr ? name : "");
    return -1;
  }
  log.writeLog(5, "DisplayManager::startUp(): window resolution (%d, %d) pixels.",
               static_cast<int>(desktop_width), static_cast<int>(desktop_height));
  if (window_horizontal_pixels == 0) window_horizontal_pixels = static_cast<int>(desktop_width);
  if (window_vertical_pixels == 0) window_vertical_pixels = static_cast<int>(desktop_height);
  if (!validWindowSize(window_horizontal_pixels, window_vertical_pixels)) {
    log.writeLog("DisplayManager::startUp(): Error! Window size (%d, %d) pixels not supported.",
                 window_horizontal_pixels, window_vertical_pixels);
    return -1;
  }
  const Config& config = Config::getInstance();
  platform::WindowState state = config.getWindowState() == 1 ? platform::WindowState::Fullscreen
                                                             : platform::WindowState::Windowed;
  p_window = platform::createWindow(static_cast<unsigned>(window_horizontal_pixels),
                                    static_cast<unsigned>(window_vertical_pixels),
                                    config.getWindowTitle(),
                                    static_cast<std::uint32_t>(config.getWindowStyle()), state);
  if (p_window == nullptr) {
    log.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    return -1;
  }
  p_window->setMouseCursorVisible(config.getShowMouse());
  p_window->setVerticalSyncEnabled(true);
  return 0;
}

// Opens the font and makes the text and the cell rectangle reused by every draw.
int DisplayManager::prepareDrawing() {
  LogManager& log = LogManager::getInstance();
  const Config& config = Config::getInstance();
  if (!platform::openFontFromFile(font, config.getFontFile())) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to open font from file '%s'.",
                 config.getFontFile().c_str());
    return -1;
  }
  p_rectangle = new (std::nothrow) sf::RectangleShape(sf::Vector2f(charWidth(), charHeight()));
  if (p_rectangle == nullptr) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to allocate rectangle.");
    return -1;
  }
  p_text = platform::createText(font, "", INITIAL_CHARACTER_SIZE);
  if (p_text == nullptr) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to allocate text.");
    return -1;
  }
  p_text->setFont(font);
  p_text->setStyle(sf::Text::Bold);
  p_text->setCharacterSize(characterSize(config.getFontScale(), charWidth(), charHeight()));
  window_background_color = colorToSFML(config.getWindowBackgroundColor());
  p_rectangle->setFillColor(window_background_color);
  preloadGlyphs();
  return 0;
}

// Loads the printable characters into the font's texture now, so that it
// seldom has to grow during play.
void DisplayManager::preloadGlyphs() const {
  if (p_text->getCharacterSize() == 0) return;  // a window of no cells draws nothing legible
  for (char ch = FIRST_PRINTABLE; ch <= LAST_PRINTABLE; ch++) batchGlyph(ch);
}

const DisplayManager::BatchGlyph& DisplayManager::batchGlyph(char ch) const {
  BatchGlyph& entry = batch_glyphs[static_cast<unsigned char>(ch)];
  if (!entry.loaded) {
    // The code point and the bold glyph the reused text would draw for ch.
    const std::uint32_t code_point = platform::codePoint(ch);
    entry.has_quad = platform::hasGlyphQuad(code_point);
    if (entry.has_quad) {
      entry.glyph = platform::getGlyph(font, code_point, p_text->getCharacterSize(), true);
    }
    entry.loaded = true;
  }
  return entry;
}

void DisplayManager::release() {
  if (p_window != nullptr) {
    p_window->close();
    delete p_window;
    p_window = nullptr;
  }
  delete p_text;
  p_text = nullptr;
  delete p_rectangle;
  p_rectangle = nullptr;
  // Collected characters belong to the window just closed, glyphs to the
  // font and size of that start-up.
  batch.clear();
  batch_characters = 0;
  batch_glyphs.fill(BatchGlyph());
}

void DisplayManager::shutDown() {
  release();
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "DisplayManager::shutDown(): successfully stopped.");
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, std::uint8_t r, std::uint8_t g,
                                  std::uint8_t b, float rotation) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (Config::getInstance().getHeadless() || p_window == nullptr || p_text == nullptr ||
      p_rectangle == nullptr) {
    return -1;
  }
  const Vector pixels = spacesToPixels(worldToView(world_pos));
  const sf::Vector2f position(pixels.getX(), pixels.getY());
  const sf::Color color(r, g, b, 255);
  if (rotation == 0.0f) {
    batchCharacter(position, ch, color);
  } else {
    drawUnbatched(position, ch, color, rotation);
  }
  return 0;
}

// Adds the cell's background and then its glyph to the batch. Each character
// paints its own cell background first, so a glyph wider than its cell is cut
// back by its right-hand neighbour's background.
void DisplayManager::batchCharacter(sf::Vector2f pixels, char ch, sf::Color color) const {
  if (batch_characters >= MAX_BATCH_CHARACTERS) flush();
  const float width = charWidth();
  const float height = charHeight();
  platform::appendRectangle(batch, sf::Vector2f(pixels.x - width / 10, pixels.y + height / 5),
                            p_rectangle->getSize(), window_background_color);
  const BatchGlyph& entry = batchGlyph(ch);
  if (entry.has_quad) {
    platform::appendGlyph(batch, pixels, p_text->getCharacterSize(), entry.glyph, color);
  }
  batch_characters++;
}

// A turned character is drawn at once with the rectangle and the text, after
// the characters collected before it.
void DisplayManager::drawUnbatched(sf::Vector2f pixels, char ch, sf::Color color,
                                   float rotation) const {
  flush();
  const float width = charWidth();
  const float height = charHeight();
  p_rectangle->setPosition(sf::Vector2f(pixels.x - width / 10, pixels.y + height / 5));
  platform::setRotation(*p_rectangle, rotation);
  p_window->draw(*p_rectangle, sf::RenderStates::Default);
  p_text->setString(sf::String(ch));
  p_text->setPosition(pixels);
  p_text->setFillColor(color);
  platform::setRotation(*p_text, rotation);
  p_window->draw(*p_text, sf::RenderStates::Default);
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, Color color, float rotation) const {
  if (Config::getInstance().getHeadless()) return -1;
  std::uint8_t r = FALLBACK_CHANNEL;
  std::uint8_t g = FALLBACK_CHANNEL;
  std::uint8_t b = FALLBACK_CHANNEL;
  colorToRGB(color, r, g, b);
  return drawCharacter(world_pos, ch, r, g, b, rotation);
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just,
                               Color color) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (Config::getInstance().getHeadless()) return -1;
  const float length = static_cast<float>(str.size());
  float start_x = world_pos.getX();
  if (just == JUSTIFY_CENTER) start_x -= static_cast<float>(str.size() / 2);
  if (just == JUSTIFY_RIGHT) start_x -= length;
  std::uint8_t r = FALLBACK_CHANNEL;
  std::uint8_t g = FALLBACK_CHANNEL;
  std::uint8_t b = FALLBACK_CHANNEL;
  colorToRGB(color, r, g, b);
  for (std::size_t i = 0; i < str.size(); i++) {
    Vector pos(start_x + static_cast<float>(i), world_pos.getY());
    drawCharacter(pos, str[i], r, g, b, 0.0f);
  }
  return 0;
}

int DisplayManager::swapBuffers() {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (Config::getInstance().getHeadless() || p_window == nullptr) return -1;
  flush();
  p_window->display();
  p_window->clear(window_background_color);
  return 0;
}

int DisplayManager::flush() const {
  if (p_window == nullptr || p_text == nullptr) return -1;
  if (batch.getVertexCount() == 0) return 0;
  // Texture coordinates are in texture pixels, so glyphs first requested
  // while the batch filled (and any growth of the texture that caused) are
  // drawn right with the texture as it is now.
  const sf::Texture& glyphs = font.getTexture(p_text->getCharacterSize());
  p_window->draw(batch, sf::RenderStates(&glyphs));
  batch.clear();
  batch_characters = 0;
  return 0;
}

int DisplayManager::getHorizontalChars() const { return window_horizontal_chars; }

int DisplayManager::getVerticalChars() const { return window_vertical_chars; }

int DisplayManager::getHorizontalPixels() const { return window_horizontal_pixels; }

int DisplayManager::getVerticalPixels() const { return window_vertical_pixels; }

sf::RenderWindow* DisplayManager::getWindow() const { return p_window; }

}  // namespace tw
