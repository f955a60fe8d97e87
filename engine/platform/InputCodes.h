// Keys, mouse buttons and input events in one neutral vocabulary that every
// source of input (a window, a terminal, a scripted run) reports in. No
// library's types appear here; the input manager maps these to engine keys.
#pragma once

#include <string>

namespace tw {
namespace platform {

// Keyboard keys, numbered as the window library numbers them.
enum class Key {
  Unknown = -1,
  A = 0, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
  Num0, Num1, Num2, Num3, Num4, Num5, Num6, Num7, Num8, Num9,
  Escape, LControl, LShift, LAlt, LSystem, RControl, RShift, RAlt, RSystem, Menu,
  LBracket, RBracket, Semicolon, Comma, Period, Apostrophe, Slash, Backslash, Grave,
  Equal, Hyphen, Space, Enter, Backspace, Tab, PageUp, PageDown, End, Home, Insert,
  Delete, Add, Subtract, Multiply, Divide, Left, Right, Up, Down,
  Numpad0, Numpad1, Numpad2, Numpad3, Numpad4, Numpad5, Numpad6, Numpad7, Numpad8,
  Numpad9, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14, F15, Pause,
};
const int KEY_COUNT = 101;

enum class MouseButton { Left = 0, Right, Middle, Extra1, Extra2 };

// One input event; only the fields of its type are meaningful.
struct InputEvent {
  enum class Type {
    Closed,               // the user asked to end the program (window closed, SIGTERM ...)
    KeyPressed,           // key
    KeyReleased,          // key
    MouseMoved,           // x, y
    MouseButtonPressed,   // button, x, y
    MouseButtonReleased,  // button, x, y
    Other,                // anything else (resize, focus, text, wheel, ...)
  };
  Type type = Type::Other;
  Key key = Key::Unknown;
  MouseButton button = MouseButton::Left;
  // Pointer position: in pixels from the window library, in character cells
  // once a presenter hands the event on.
  float x = 0.0f;
  float y = 0.0f;
  // KeyPressed only: the keyboard's auto-repeat of a key already down, which
  // the input manager turns into a keystroke but not into a new press.
  bool repeat = false;
};

// A readable name of the key ("A", "Space", "Numpad 5", "Unknown" ...).
std::string keyDescription(Key key);

}  // namespace platform
}  // namespace tw
