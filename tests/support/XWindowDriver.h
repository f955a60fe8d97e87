// Drives the test X server for window tests: finds the engine's window, takes
// screenshots of it, and sends real pointer, key and close input with xdotool
// and Xlib, as a user and a window manager would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tw_test {

// A screenshot of one window as 8-bit RGB pixels.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  bool valid() const { return width > 0 && height > 0; }
  // Pixel (x, y) packed as 0xRRGGBB; 0 outside the picture.
  std::uint32_t pixel(int x, int y) const;
  // How many pixels of the rectangle [x0, x1) x [y0, y1) have this colour,
  // each channel at most tolerance off.
  int count(int x0, int y0, int x1, int y1, std::uint32_t rgb_color, int tolerance = 0) const;
};

// The size in pixels of the default screen of $DISPLAY; false without one.
bool screenSize(int& width, int& height);

class XWindowDriver {
 public:
  // Looks for the top-level window whose name is title on $DISPLAY.
  explicit XWindowDriver(const std::string& title);
  bool found() const { return window != 0; }
  unsigned long id() const { return window; }

  // Captures the window's current content (xwd piped to ImageMagick).
  Screenshot screenshot() const;
  // Gives the window the keyboard focus and puts the pointer over it.
  bool focus() const;
  // xdotool key actions on the X keysym name ("a", "minus", "KP_Subtract", "F11").
  bool keyDown(const std::string& keysym) const;
  bool keyUp(const std::string& keysym) const;
  // A key pressed and released by one xdotool: two would leave the key down
  // long enough to auto-repeat on a busy machine.
  bool tap(const std::string& keysym) const;
  // Moves the pointer to window pixel (x, y).
  bool moveMouse(int x, int y) const;
  // Presses or releases mouse button 1 (left), 2 (middle) or 3 (right).
  bool mouseDown(int button) const;
  bool mouseUp(int button) const;
  // Asks the window to close, as a window manager's close button does.
  bool requestClose() const;

 private:
  bool xdotool(const std::string& arguments) const;

  unsigned long window = 0;
};

}  // namespace tw_test
