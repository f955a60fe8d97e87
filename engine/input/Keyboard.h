// The engine's keyboard keys (77 of them) and the keyboard actions events carry.
// Game code sees only these, never the window library's key codes.
#pragma once

namespace tw {

namespace Keyboard {

enum Key : int {
  KEY_UNDEFINED = -1,
  SPACE = 0,
  ENTER,
  ESCAPE,
  TAB,
  LEFT_ARROW,
  RIGHT_ARROW,
  UP_ARROW,
  DOWN_ARROW,
  PAUSE,
  MINUS,
  PLUS,
  TILDE,
  PERIOD,
  COMMA,
  SLASH,
  EQUAL,
  BACKSLASH,
  ASTERISK,
  APOSTROPHE,
  SEMICOLON,
  LEFT_CONTROL,
  RIGHT_CONTROL,
  LEFT_SHIFT,
  RIGHT_SHIFT,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
  A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
  DIGIT_1, DIGIT_2, DIGIT_3, DIGIT_4, DIGIT_5, DIGIT_6, DIGIT_7, DIGIT_8, DIGIT_9,
  DIGIT_0,
  BACKSPACE,
  RESERVED_KEY,
  LEFT_BRACKET,
  RIGHT_BRACKET,
  BACKQUOTE,
};

const int KEY_COUNT = 77;

}  // namespace Keyboard

enum KeyboardAction : int {
  KEY_ACTION_UNDEFINED = -1,
  KEY_PRESSED = 0,  // the key went down
  KEY_RELEASED,     // the key went up
  KEY_HELD,         // the key is down at this frame's poll
};

}  // namespace tw
