// The one place that knows which SFML release is installed: window creation,
// fonts, texts and glyph batches, event polling, keyboard and mouse queries and
// audio, offered in one version-neutral shape. Calls that need an X display
// refuse cleanly without one.
#pragma once

#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Glyph.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Window.hpp>

#include "engine/platform/InputCodes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tw {
namespace platform {

// ---------------------------------------------------------------- audio
// Sounds and music are silent no-ops on a machine where no audio device opens
// (no sound card). The check runs once, at program start, before any audio
// object exists; without a device the audio library's complaints are kept off
// standard error for the rest of the run (files still load and report errors).
bool audioAvailable();
// False when the file cannot be opened or decoded (files load without an
// audio device too; only playing is silent then).
bool loadSoundBuffer(sf::SoundBuffer& buffer, const std::string& filename);
bool openMusicFromFile(sf::Music& music, const std::string& filename);
void setLooping(sf::Music& music, bool looping);
void setLooping(sf::Sound& sound, bool looping);

// ---------------------------------------------------------------- display
// True when an X display can be opened (checked again only when DISPLAY changes).
// Every call below that needs one answers false/null/zero without it.
bool displayAvailable();

// Window style bits (same values as the window library's).
const std::uint32_t STYLE_NONE = 0;
const std::uint32_t STYLE_TITLEBAR = 1 << 0;
const std::uint32_t STYLE_RESIZE = 1 << 1;
const std::uint32_t STYLE_CLOSE = 1 << 2;
const std::uint32_t STYLE_DEFAULT = STYLE_TITLEBAR | STYLE_RESIZE | STYLE_CLOSE;

enum class WindowState { Windowed = 0, Fullscreen = 1 };

// The desktop's size in pixels; false (sizes untouched) without a display.
bool getDesktopSize(unsigned& width, unsigned& height);
// A new window of width x height pixels at 32 bits per pixel with default
// context settings; null without a display. The caller owns it.
sf::RenderWindow* createWindow(unsigned width, unsigned height, const std::string& title,
                               std::uint32_t style, WindowState state);

// Opens a TrueType font; false when the file cannot be opened.
bool openFontFromFile(sf::Font& font, const std::string& filename);

// ------------------------------------------------------- batched characters
// Characters are batched as independent triangles, two per rectangle, all
// textured from the font's glyph texture, so a whole frame is one draw call.
// Texture coordinates are in texture pixels: they stay valid when the font's
// texture grows (it keeps what it holds at the same place when it does).

// An empty batch of independent triangles.
sf::VertexArray createTriangleBatch();
// False for the code points a text draws no glyph for (blank, tab, line breaks).
bool hasGlyphQuad(std::uint32_t code_point);
// The glyph of a code point at a character size; loads it into the font's
// texture of that size on first use.
sf::Glyph getGlyph(const sf::Font& font, std::uint32_t code_point, unsigned size, bool bold);

// ---------------------------------------------------------------- input
// The next pending event of the window; empty when the queue is empty.
std::optional<InputEvent> pollEvent(sf::Window& window);

// Live state of a key or button; false without a display.
bool isKeyPressed(Key key);
bool isButtonPressed(MouseButton button);
// Pointer position in pixels relative to the window; (0, 0) without a display.
sf::Vector2i getMousePosition(const sf::Window& window);

}  // namespace platform
}  // namespace tw
