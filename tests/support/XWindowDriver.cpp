#include "tests/support/XWindowDriver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "tests/support/TestSupport.h"

namespace tw_test {

namespace {

unsigned long findNamed(Display* display, Window parent, const std::string& title) {
  Window root_return = 0;
  Window parent_return = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, parent, &root_return, &parent_return, &children, &count) == 0) return 0;
  unsigned long found = 0;
  for (unsigned i = 0; i < count && found == 0; i++) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
      if (title == name) found = children[i];
      XFree(name);
    }
    if (found == 0) found = findNamed(display, children[i], title);
  }
  if (children != nullptr) XFree(children);
  return found;
}

// The next header token of a PPM file, skipping "#" comments.
std::string ppmToken(std::istream& in) {
  std::string token;
  while (in >> token) {
    if (token[0] != '#') return token;
    std::string rest;
    std::getline(in, rest);
  }
  return "";
}

// Reads a binary PPM (P6, maxval 255).
Screenshot readPpm(const std::string& path) {
  Screenshot shot;
  std::ifstream in(path, std::ios::binary);
  if (ppmToken(in) != "P6") return {};
  shot.width = std::atoi(ppmToken(in).c_str());
  shot.height = std::atoi(ppmToken(in).c_str());
  int maxval = std::atoi(ppmToken(in).c_str());
  in.get();  // the single white space before the pixels
  if (!in || maxval != 255 || shot.width <= 0 || shot.height <= 0) return {};
  shot.rgb.resize(static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height) * 3);
  in.read(reinterpret_cast<char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size()));
  if (!in) return {};
  return shot;
}

}  // namespace

std::uint32_t Screenshot::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
  return (static_cast<std::uint32_t>(rgb[i]) << 16) | (static_cast<std::uint32_t>(rgb[i + 1]) << 8) |
         rgb[i + 2];
}

int Screenshot::count(int x0, int y0, int x1, int y1, std::uint32_t rgb_color,
                      int tolerance) const {
  auto near = [&](std::uint32_t p) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int a = static_cast<int>((p >> shift) & 0xff);
      const int b = static_cast<int>((rgb_color >> shift) & 0xff);
      if (a - b > tolerance || b - a > tolerance) return false;
    }
    return true;
  };
  int n = 0;
  for (int y = y0; y < y1; y++) {
    for (int x = x0; x < x1; x++) {
      if (x >= 0 && y >= 0 && x < width && y < height && near(pixel(x, y))) n++;
    }
  }
  return n;
}

bool screenSize(int& width, int& height) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  width = DisplayWidth(display, DefaultScreen(display));
  height = DisplayHeight(display, DefaultScreen(display));
  XCloseDisplay(display);
  return true;
}

XWindowDriver::XWindowDriver(const std::string& title) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return;
  // The window may take a moment to be mapped and named.
  for (int tries = 0; tries < 50 && window == 0; tries++) {
    window = findNamed(display, DefaultRootWindow(display), title);
    if (window == 0) usleep(20000);
  }
  XCloseDisplay(display);
}

Screenshot XWindowDriver::screenshot() const {
  if (window == 0) return {};
  TempDir dir;
  std::string path = dir.file("shot.ppm");
  std::string command = "xwd -silent -id " + std::to_string(window) + " | convert xwd:- ppm:" +
                        path + " 2>/dev/null";
  if (std::system(command.c_str()) != 0) return {};
  return readPpm(path);
}

bool XWindowDriver::xdotool(const std::string& arguments) const {
  std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool XWindowDriver::focus() const {
  if (window == 0) return false;
  std::string id = std::to_string(window);
  return xdotool("mousemove --window " + id + " 5 5") && xdotool("windowfocus --sync " + id);
}

bool XWindowDriver::keyDown(const std::string& keysym) const { return xdotool("keydown " + keysym); }

bool XWindowDriver::keyUp(const std::string& keysym) const { return xdotool("keyup " + keysym); }

bool XWindowDriver::tap(const std::string& keysym) const {
  return xdotool("keydown " + keysym + " keyup " + keysym);
}

bool XWindowDriver::moveMouse(int x, int y) const {
  if (window == 0) return false;
  return xdotool("mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
                 std::to_string(y));
}

bool XWindowDriver::mouseDown(int button) const {
  return xdotool("mousedown " + std::to_string(button));
}

bool XWindowDriver::mouseUp(int button) const { return xdotool("mouseup " + std::to_string(button)); }

bool XWindowDriver::requestClose() const {
  if (window == 0) return false;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XEvent event;
  std::memset(&event, 0, sizeof(event));
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent != 0;
}

}  // namespace tw_test
