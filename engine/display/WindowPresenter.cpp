#include "engine/display/WindowPresenter.h"

#include "engine/core/LogManager.h"
#include "engine/core/Unicode.h"
#include "engine/display/CellCoverage.h"
#include "engine/display/CellFilling.h"
#include "engine/display/FontLookup.h"
#include "engine/display/GlyphFitter.h"
#include "engine/platform/Files.h"
#include "engine/platform/FontCoverage.h"
#include "engine/platform/Sfml.h"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace tw {

namespace {

// The largest window side the X protocol and the drawing code accept.
const int MAX_WINDOW_PIXELS = 32767;
const unsigned MAX_CHARACTER_SIZE = 4096;
const char32_t FIRST_PRINTABLE = U' ';
const char32_t LAST_PRINTABLE = U'~';
// Code points per page of the glyph cache.
const char32_t GLYPH_PAGE = 256;
// The glyph is fitted into the character's cell box.
const float BOX_LEFT = CELL_BOX_LEFT;
const float BOX_TOP = CELL_BOX_TOP;

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

float cellSize(int pixels, int cells) {
  return cells > 0 ? static_cast<float>(pixels) / static_cast<float>(cells) : 0.0f;
}

// A glyph's padded box in its own coordinates (pixels from the text
// position, baseline at the character size): the texture's one pixel of
// padding included, so the quad carries the glyph's smoothed edges.
InkBox glyphBox(const sf::Glyph& glyph, unsigned char_size, float pad) {
  const sf::FloatRect& b = glyph.bounds;
  const float base = static_cast<float>(char_size);
  InkBox box;
  box.left = b.left - pad, box.right = b.left + b.width + pad;
  box.top = base + b.top - pad, box.bottom = base + b.top + b.height + pad;
  return box;
}

sf::Vector2f applied(const GlyphFit& fit, float x, float y) {
  return sf::Vector2f(x * fit.scale_x + fit.shift_x, y * fit.scale_y + fit.shift_y);
}

struct BatchGlyph {
  bool loaded = false;
  bool has_quad = false;  // blanks paint only their background
  sf::Glyph glyph;
  GlyphFit fit;  // into the cell box
};

using GlyphPage = std::array<BatchGlyph, GLYPH_PAGE>;

}  // namespace

struct WindowPresenter::Impl {
  sf::Font font;
  std::unique_ptr<sf::RenderWindow> window;
  PresenterSettings settings;
  int pixels_x = 0;
  int pixels_y = 0;
  float cell_w = 0.0f;
  float cell_h = 0.0f;
  unsigned char_size = 0;
  sf::Color background = sf::Color::Black;
  GlyphFitter fitter = GlyphFitter(0.0f, 0.0f);  // where glyphs sit in their cell box
  platform::FontCoverage font_coverage;  // which characters the font has
  // The glyphs by code point / GLYPH_PAGE, each page made on first use.
  std::vector<std::unique_ptr<GlyphPage>> glyph_pages;
  sf::VertexArray batch = platform::createTriangleBatch();
  CellCoverage coverage;  // which cells this frame has drawn into
  std::vector<float> corners;  // the shape being drawn, x0, y0, x1, y1 ...
  int backgrounds_drawn = 0;
  // The window library always repeats held keys; a repeat (a press of a key
  // already down) is marked as one unless the engine asked for new presses.
  bool key_repeat = false;
  std::array<bool, platform::KEY_COUNT> keys_down{};

  int openWindow();
  void markRepeat(platform::InputEvent& event);
  int openFont();
  const BatchGlyph& glyph(char32_t ch);
  void loadGlyph(char32_t ch, BatchGlyph& entry);
  void fitGlyphs();
  void resetGlyphs();
  void addCharacter(const DrawItem& item);
  void addShape(const DrawItem& item);
  void addQuad(const sf::Vector2f corners[4], sf::Color color, sf::Vector2f uv1,
               sf::Vector2f uv2);
};

WindowPresenter::WindowPresenter() : impl(std::make_unique<Impl>()) {}

WindowPresenter::~WindowPresenter() { close(); }

const char* WindowPresenter::getName() const { return "window"; }

int WindowPresenter::open(const PresenterSettings& settings) {
  close();
  impl->settings = settings;
  // Found before the window opens, so a missing font flashes no window.
  impl->settings.font_file =
      findFont(settings.font_file, platform::programFolder(), installedDataFolder());
  if (impl->settings.font_file.empty()) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Error! No font file '%s' (looked in the working directory, "
        "beside the program and in %s): name a TrueType font with font_file, or put one beside "
        "the program (tarnwick_copy_font in CMake).",
        settings.font_file.c_str(), installedDataFolder().c_str());
    return -1;
  }
  if (impl->openWindow() != 0 || impl->openFont() != 0) {
    close();
    return -1;
  }
  return 0;
}

// Opens the window at the configured size (0 meaning the desktop's).
int WindowPresenter::Impl::openWindow() {
  LogManager& log = LogManager::getInstance();
  unsigned desktop_width = 0;
  unsigned desktop_height = 0;
  if (!platform::getDesktopSize(desktop_width, desktop_height)) {
    const char* name = std::getenv("DISPLAY");
    // The likeliest cause is a machine without a desktop (ssh, a server):
    // say which presenters need none.
    log.writeLog("DisplayManager::startUp(): Error! Unable to open display '%s': "
                 "display:terminal and display:capture need none.",
                 name != nullptr ? name : "");
    return -1;
  }
  log.writeLog(5, "DisplayManager::startUp(): window resolution (%d, %d) pixels.",
               static_cast<int>(desktop_width), static_cast<int>(desktop_height));
  pixels_x = settings.horizontal_pixels == 0 ? static_cast<int>(desktop_width)
                                             : settings.horizontal_pixels;
  pixels_y = settings.vertical_pixels == 0 ? static_cast<int>(desktop_height)
                                           : settings.vertical_pixels;
  if (!validWindowSize(pixels_x, pixels_y)) {
    log.writeLog("DisplayManager::startUp(): Error! Window size (%d, %d) pixels not supported.",
                 pixels_x, pixels_y);
    return -1;
  }
  const platform::WindowState state = settings.window_state == 1
                                           ? platform::WindowState::Fullscreen
                                           : platform::WindowState::Windowed;
  window.reset(platform::createWindow(static_cast<unsigned>(pixels_x),
                                      static_cast<unsigned>(pixels_y), settings.title,
                                      settings.window_style, state));
  if (!window) {
    log.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    return -1;
  }
  window->setMouseCursorVisible(settings.show_mouse);
  window->setVerticalSyncEnabled(true);
  window->setKeyRepeatEnabled(true);
  keys_down.fill(false);
  cell_w = cellSize(pixels_x, settings.horizontal_chars);
  cell_h = cellSize(pixels_y, settings.vertical_chars);
  background = sf::Color(settings.background.r, settings.background.g, settings.background.b);
  coverage.reset(settings.horizontal_chars, settings.vertical_chars);
  return 0;
}

int WindowPresenter::Impl::openFont() {
  if (!platform::openFontFromFile(font, settings.font_file)) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Error! Unable to open font from file '%s'.",
        settings.font_file.c_str());
    return -1;
  }
  if (!font_coverage.open(settings.font_file)) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Warning! Cannot read the characters of font '%s' (%s); a "
        "character it lacks may show as an empty box.",
        settings.font_file.c_str(), font_coverage.getProblem().c_str());
  }
  char_size = characterSize(settings.font_scale, cell_w, cell_h);
  resetGlyphs();
  if (char_size > 0) fitGlyphs();
  return 0;
}

void WindowPresenter::Impl::resetGlyphs() {
  glyph_pages.clear();
  glyph_pages.resize((0x10FFFF / GLYPH_PAGE) + 1);
  fitter = GlyphFitter(cell_w, cell_h);
}

const BatchGlyph& WindowPresenter::Impl::glyph(char32_t ch) {
  if (ch > 0x10FFFF) ch = REPLACEMENT_CHARACTER;
  std::unique_ptr<GlyphPage>& page = glyph_pages[ch / GLYPH_PAGE];
  if (!page) page = std::make_unique<GlyphPage>();
  BatchGlyph& entry = (*page)[ch % GLYPH_PAGE];
  if (!entry.loaded) loadGlyph(ch, entry);
  return entry;
}

// A character the font lacks is drawn as the font's replacement character.
void WindowPresenter::Impl::loadGlyph(char32_t ch, BatchGlyph& entry) {
  entry.loaded = true;
  entry.has_quad = char_size > 0 && platform::hasGlyphQuad(ch);
  if (!entry.has_quad) return;
  entry.glyph = platform::getGlyph(font, font_coverage.shown(ch), char_size, true);
  entry.fit = fitter.fitFor(ch, glyphBox(entry.glyph, char_size, 1.0f));
}

// Loads the printable glyphs (so the font's texture seldom grows in play),
// fits their union into the cell box, and maps the full block onto the box.
void WindowPresenter::Impl::fitGlyphs() {
  InkBox letters;
  bool any = false;
  for (char32_t ch = FIRST_PRINTABLE; ch <= LAST_PRINTABLE; ch++) {
    const BatchGlyph& entry = glyph(ch);
    if (!entry.has_quad) continue;
    const InkBox ink = glyphBox(entry.glyph, char_size, 1.0f);
    letters = any ? GlyphFitter::unite(letters, ink) : ink;
    any = true;
  }
  if (any) fitter.fitLetters(letters);
  for (char32_t ch = FIRST_PRINTABLE; ch <= LAST_PRINTABLE; ch++) {
    (*glyph_pages[0])[ch].fit = fitter.getLetters();
  }
  // The full block's own ink, without the texture's padding, mapped half a
  // pixel past each edge of the box.
  if (font_coverage.has(FULL_BLOCK)) {
    const sf::Glyph block = platform::getGlyph(font, FULL_BLOCK, char_size, true);
    fitter.fitBlock(glyphBox(block, char_size, 0.0f), CELL_FILL_OVERLAP, CELL_FILL_OVERLAP);
  }
}

void WindowPresenter::close() {
  if (impl->window) impl->window->close();
  impl->window.reset();
  impl->batch.clear();
  impl->glyph_pages.clear();
  impl->font_coverage.close();
}

int WindowPresenter::getHorizontalPixels() const { return impl->pixels_x; }

int WindowPresenter::getVerticalPixels() const { return impl->pixels_y; }

int WindowPresenter::getBackgroundsDrawn() const { return impl->backgrounds_drawn; }

void WindowPresenter::present(const DrawList& frame) {
  Impl& s = *impl;
  if (!s.window) return;
  s.batch.clear();
  s.backgrounds_drawn = 0;
  s.coverage.nextFrame();
  for (const DrawItem& item : frame.getItems()) {
    if (item.kind == DrawItem::Kind::CHARACTER) {
      s.addCharacter(item);
    } else {
      s.addShape(item);
    }
  }
  s.window->clear(s.background);
  if (s.batch.getVertexCount() > 0) {
    // Texture coordinates are in texture pixels, so glyphs first loaded while
    // the batch filled are drawn right with the texture as it is now.
    const sf::Texture& texture = s.font.getTexture(s.char_size);
    s.window->draw(s.batch, sf::RenderStates(&texture));
  }
  s.window->display();
}

void WindowPresenter::Impl::addQuad(const sf::Vector2f corners[4], sf::Color color,
                                    sf::Vector2f uv1, sf::Vector2f uv2) {
  // Corners: top-left, top-right, bottom-left, bottom-right; two triangles.
  batch.append(sf::Vertex(corners[0], color, sf::Vector2f(uv1.x, uv1.y)));
  batch.append(sf::Vertex(corners[1], color, sf::Vector2f(uv2.x, uv1.y)));
  batch.append(sf::Vertex(corners[2], color, sf::Vector2f(uv1.x, uv2.y)));
  batch.append(sf::Vertex(corners[2], color, sf::Vector2f(uv1.x, uv2.y)));
  batch.append(sf::Vertex(corners[1], color, sf::Vector2f(uv2.x, uv1.y)));
  batch.append(sf::Vertex(corners[3], color, sf::Vector2f(uv2.x, uv2.y)));
}

namespace {

// Between the 2 x 2 opaque white texels at the font texture's corner: any
// filtering gives pure white, so the vertex colour comes through unchanged.
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);

// Turns p about the origin by degrees (clockwise on screen) and moves it by at.
sf::Vector2f turned(sf::Vector2f p, float degrees, sf::Vector2f at) {
  if (degrees == 0.0f) return p + at;
  const float a = degrees * 3.141592654f / 180.0f;
  return sf::Vector2f(p.x * std::cos(a) - p.y * std::sin(a) + at.x,
                      p.x * std::sin(a) + p.y * std::cos(a) + at.y);
}

}  // namespace

// The cell background (when it hides something) and the glyph, fitted into
// the box, both turned about their own corner as a rotated text and
// rectangle are.
void WindowPresenter::Impl::addCharacter(const DrawItem& item) {
  const sf::Vector2f at(item.x * cell_w, item.y * cell_h);
  const sf::Vector2f box_at(at.x + BOX_LEFT * cell_w, at.y + BOX_TOP * cell_h);
  const BatchGlyph& entry = glyph(item.ch);
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
  CellCoverage::characterBox(item, left, top, right, bottom);
  // A cell with a background of its own always fills it; otherwise the
  // frame's background is painted only over what the character hides.
  const bool hides = coverage.touch(left, top, right, bottom, false) || item.has_background;
  if (hides) {
    const sf::Vector2f box[4] = {turned({0, 0}, item.rotation, box_at),
                                 turned({cell_w, 0}, item.rotation, box_at),
                                 turned({0, cell_h}, item.rotation, box_at),
                                 turned({cell_w, cell_h}, item.rotation, box_at)};
    const sf::Color fill = item.has_background ? sf::Color(item.background.r, item.background.g,
                                                           item.background.b)
                                               : background;
    addQuad(box, fill, WHITE_TEXEL, WHITE_TEXEL);
    backgrounds_drawn++;
  }
  if (entry.has_quad) {
    const InkBox b = glyphBox(entry.glyph, char_size, 1.0f);
    const GlyphFit& fit = entry.fit;
    const sf::Vector2f quad[4] = {turned(applied(fit, b.left, b.top), item.rotation, at),
                                  turned(applied(fit, b.right, b.top), item.rotation, at),
                                  turned(applied(fit, b.left, b.bottom), item.rotation, at),
                                  turned(applied(fit, b.right, b.bottom), item.rotation, at)};
    const sf::IntRect& rect = entry.glyph.textureRect;
    const sf::Vector2f uv1(static_cast<float>(rect.left) - 1.0f,
                           static_cast<float>(rect.top) - 1.0f);
    const sf::Vector2f uv2(static_cast<float>(rect.left + rect.width) + 1.0f,
                           static_cast<float>(rect.top + rect.height) + 1.0f);
    addQuad(quad, sf::Color(item.color.r, item.color.g, item.color.b), uv1, uv2);
  }
  if (hides || entry.has_quad) coverage.touch(left, top, right, bottom, true);
}

// A filled convex polygon as a fan of triangles from its first corner.
void WindowPresenter::Impl::addShape(const DrawItem& item) {
  const int n = item.shape.points;
  if (n < 3) return;
  coverage.markShape(item, cell_w, cell_h, corners);
  const auto corner = [&](int i) {
    return sf::Vector2f(corners[2 * static_cast<std::size_t>(i)],
                        corners[2 * static_cast<std::size_t>(i) + 1]);
  };
  const sf::Color color(item.color.r, item.color.g, item.color.b, item.alpha);
  for (int i = 1; i + 1 < n; i++) {
    batch.append(sf::Vertex(corner(0), color, WHITE_TEXEL));
    batch.append(sf::Vertex(corner(i), color, WHITE_TEXEL));
    batch.append(sf::Vertex(corner(i + 1), color, WHITE_TEXEL));
  }
}

bool WindowPresenter::pollEvent(platform::InputEvent& event) {
  if (!impl->window) return false;
  std::optional<platform::InputEvent> next = platform::pollEvent(*impl->window);
  if (!next) return false;
  event = *next;
  impl->markRepeat(event);
  // The window reports pixels; everything above the presenter counts in cells.
  event.x = impl->cell_w > 0.0f ? event.x / impl->cell_w : 0.0f;
  event.y = impl->cell_h > 0.0f ? event.y / impl->cell_h : 0.0f;
  return true;
}

bool WindowPresenter::isKeyDown(platform::Key key) const {
  return impl->window && platform::isKeyPressed(key);
}

bool WindowPresenter::isButtonDown(platform::MouseButton button) const {
  return impl->window && platform::isButtonPressed(button);
}

Vector WindowPresenter::getMousePosition() const {
  if (!impl->window) return Vector();
  const sf::Vector2i pixels = platform::getMousePosition(*impl->window);
  return Vector(impl->cell_w > 0.0f ? static_cast<float>(pixels.x) / impl->cell_w : 0.0f,
                impl->cell_h > 0.0f ? static_cast<float>(pixels.y) / impl->cell_h : 0.0f);
}

void WindowPresenter::Impl::markRepeat(platform::InputEvent& event) {
  using Type = platform::InputEvent::Type;
  const int code = static_cast<int>(event.key);
  const bool key_event = event.type == Type::KeyPressed || event.type == Type::KeyReleased;
  if (!key_event || code < 0 || code >= platform::KEY_COUNT) return;
  bool& down = keys_down[static_cast<std::size_t>(code)];
  event.repeat = event.type == Type::KeyPressed && down && !key_repeat;
  down = event.type == Type::KeyPressed;
}

bool WindowPresenter::displayAvailable() { return platform::displayAvailable(); }

void WindowPresenter::setKeyRepeat(bool enabled) { impl->key_repeat = enabled; }
void WindowPresenter::setBackground(Rgb color) {
  impl->background = sf::Color(color.r, color.g, color.b);
}

}  // namespace tw
