// A presenter shows finished frames somewhere (a window, a terminal, or a
// grid kept in memory) and is where the user's input comes from. The display
// manager owns the active one; nothing above it sees a library's types.
#pragma once

#include "engine/display/DrawList.h"
#include "engine/platform/InputCodes.h"
#include "engine/world/Vector.h"

#include <cstdint>
#include <string>

namespace tw {

// What a presenter is opened with (taken from the configuration).
struct PresenterSettings {
  int horizontal_pixels = 1024;  // window size; 0 means the desktop's
  int vertical_pixels = 768;
  int horizontal_chars = 80;  // size of the character grid
  int vertical_chars = 24;
  Rgb background;  // the clear colour
  std::string title = "Tarnwick";
  std::uint32_t window_style = 5;
  int window_state = 0;  // 0 windowed, 1 fullscreen
  bool show_mouse = false;
  std::string font_file = "tw-font.ttf";
  float font_scale = 2.0f;  // character size = scale x the smaller cell side
};

class Presenter {
 public:
  virtual ~Presenter() = default;

  // "window", "terminal", "capture" or "page" (a browser page's canvas).
  virtual const char* getName() const = 0;
  // Opens the output; 0, or -1 with the reason logged.
  virtual int open(const PresenterSettings& settings) = 0;
  // Closes the output and gives back whatever open took (the terminal's modes).
  virtual void close() = 0;
  // The size in pixels actually opened (a 0 setting becomes the desktop's).
  virtual int getHorizontalPixels() const = 0;
  virtual int getVerticalPixels() const = 0;

  // Shows a finished frame.
  virtual void present(const DrawList& frame) = 0;

  // The next pending input event, positions in cells; false when none is left.
  virtual bool pollEvent(platform::InputEvent& event) = 0;
  // Live state, as of the last poll.
  virtual bool isKeyDown(platform::Key key) const = 0;
  virtual bool isButtonDown(platform::MouseButton button) const = 0;
  // The pointer's position in cells.
  virtual Vector getMousePosition() const = 0;
  // Whether holding a key repeats its key-pressed event (off during play).
  virtual void setKeyRepeat(bool enabled) { (void)enabled; }
  // The colour behind every character from the next frame on, where the
  // presenter can change it while open.
  virtual void setBackground(Rgb color) { (void)color; }
  // False for a presenter nobody sits in front of: waiting for a key there
  // would wait forever.
  virtual bool isInteractive() const { return true; }
};

}  // namespace tw
