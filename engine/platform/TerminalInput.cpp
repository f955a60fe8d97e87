#include "engine/platform/TerminalInput.h"

namespace tw {
namespace platform {

namespace {

const unsigned char ESC = 0x1b;
// An escape sequence longer than this is not one a terminal sends. It is
// dropped whole, up to its final byte, wherever the reads split it: the
// decision falls at the same byte whether it came in one piece or many.
const std::size_t MAX_SEQUENCE = 256;

bool isParameterByte(unsigned char c) { return c >= 0x20 && c <= 0x3f; }
bool isFinalByte(unsigned char c) { return c >= 0x40 && c <= 0x7e; }

using Fields = std::vector<std::vector<int>>;  // ';'-separated fields of ':'-separated numbers

// Printable characters other than letters, digits and the blank, with the key
// each is typed with on a US keyboard. A terminal sends the same '-', '+' and
// '*' for the main-row keys and the keypad's, so they map to the keypad keys
// (Subtract, Add, Multiply), which are the ones the engine has names for.
const char PUNCTUATION[] = "[{]};:,<.>'\"/?\\|`~=-_+*!@#$%^&()";
const Key PUNCTUATION_KEYS[] = {
    Key::LBracket,  Key::LBracket,   Key::RBracket, Key::RBracket, Key::Semicolon,
    Key::Semicolon, Key::Comma,      Key::Comma,    Key::Period,   Key::Period,
    Key::Apostrophe, Key::Apostrophe, Key::Slash,   Key::Slash,    Key::Backslash,
    Key::Backslash, Key::Grave,      Key::Grave,    Key::Equal,    Key::Subtract,
    Key::Subtract,  Key::Add,        Key::Multiply, Key::Num1,     Key::Num2,
    Key::Num3,      Key::Num4,       Key::Num5,     Key::Num6,     Key::Num7,
    Key::Num9,      Key::Num0,
};
static_assert(sizeof(PUNCTUATION) - 1 == sizeof(PUNCTUATION_KEYS) / sizeof(Key),
              "one key per punctuation character");

Key offsetKey(Key first, int offset) { return static_cast<Key>(static_cast<int>(first) + offset); }

TerminalItem keyItem(Key key, int event_type) {
  TerminalItem item;
  item.event.type = event_type == 3 ? InputEvent::Type::KeyReleased : InputEvent::Type::KeyPressed;
  item.event.key = key;
  item.repeat = event_type == 2;
  return item;
}

// The key of a final byte in "CSI 1 ; mods A" and "SS3 A" forms.
Key keyFromFinal(char final_byte) {
  switch (final_byte) {
    case 'A': return Key::Up;
    case 'B': return Key::Down;
    case 'C': return Key::Right;
    case 'D': return Key::Left;
    case 'H': return Key::Home;
    case 'F': return Key::End;
    case 'P': return Key::F1;
    case 'Q': return Key::F2;
    case 'R': return Key::F3;
    case 'S': return Key::F4;
    case 'Z': return Key::Tab;    // back tab (shift + Tab)
    case 'M': return Key::Enter;  // keypad Enter in SS3 form
    default: return Key::Unknown;
  }
}

// The key of "CSI number ~".
Key keyFromTilde(int number) {
  if (number >= 11 && number <= 15) return offsetKey(Key::F1, number - 11);
  if (number >= 17 && number <= 21) return offsetKey(Key::F6, number - 17);
  switch (number) {
    case 1: case 7: return Key::Home;
    case 2: return Key::Insert;
    case 3: return Key::Delete;
    case 4: case 8: return Key::End;
    case 5: return Key::PageUp;
    case 6: return Key::PageDown;
    case 23: return Key::F11;
    case 24: return Key::F12;
    default: return Key::Unknown;
  }
}

// The key of a kitty key code: a Unicode code point or one of the protocol's
// private-use numbers for keys without a character.
Key keyFromKittyCode(int code) {
  if (code >= 0 && code < 128) return code == 8 ? Key::Backspace : keyFromByte(static_cast<unsigned char>(code));
  if (code >= 57399 && code <= 57408) return offsetKey(Key::Numpad0, code - 57399);
  if (code >= 57376 && code <= 57378) return offsetKey(Key::F13, code - 57376);
  if (code >= 57417 && code <= 57420) {
    const Key arrows[] = {Key::Left, Key::Right, Key::Up, Key::Down};
    return arrows[code - 57417];
  }
  switch (code) {
    case 57362: return Key::Pause;
    case 57363: return Key::Menu;
    case 57410: return Key::Divide;
    case 57411: return Key::Multiply;
    case 57412: return Key::Subtract;
    case 57413: return Key::Add;
    case 57414: return Key::Enter;
    case 57415: return Key::Equal;
    case 57441: return Key::LShift;
    case 57442: return Key::LControl;
    case 57443: return Key::LAlt;
    case 57444: return Key::LSystem;
    case 57447: return Key::RShift;
    case 57448: return Key::RControl;
    case 57449: return Key::RAlt;
    case 57450: return Key::RSystem;
    default: return Key::Unknown;
  }
}

Fields splitFields(const std::string& text) {
  Fields fields(1, std::vector<int>(1, 0));
  for (char c : text) {
    if (c == ';') {
      fields.emplace_back(1, 0);
    } else if (c == ':') {
      fields.back().push_back(0);
    } else if (c >= '0' && c <= '9') {
      int& n = fields.back().back();
      if (n < 1000000) n = n * 10 + (c - '0');
    }
  }
  return fields;
}

int field(const Fields& fields, std::size_t i, std::size_t sub, int fallback) {
  if (i >= fields.size() || sub >= fields[i].size()) return fallback;
  return fields[i][sub];
}

// "CSI < b ; x ; y M" (press or motion) or "... m" (release); cells from 1.
void addMouse(const Fields& fields, char final_byte, std::vector<TerminalItem>& out) {
  const int b = field(fields, 0, 0, 0);
  if (b & (64 | 128)) return;  // wheel and the extra buttons
  TerminalItem item;
  item.event.x = static_cast<float>(field(fields, 1, 0, 1) - 1);
  item.event.y = static_cast<float>(field(fields, 2, 0, 1) - 1);
  const int button = b & 3;
  if (b & 32) {
    item.event.type = InputEvent::Type::MouseMoved;
  } else if (button == 3) {
    return;  // a release without a button is only sent by the older encodings
  } else {
    item.event.type = final_byte == 'M' ? InputEvent::Type::MouseButtonPressed
                                        : InputEvent::Type::MouseButtonReleased;
    const MouseButton buttons[] = {MouseButton::Left, MouseButton::Middle, MouseButton::Right};
    item.event.button = buttons[button];
  }
  out.push_back(item);
}

// A complete CSI sequence: its parameter bytes and its final byte.
void interpretCsi(const std::string& params, char final_byte, std::vector<TerminalItem>& out) {
  const char prefix = !params.empty() && params[0] >= '<' && params[0] <= '?' ? params[0] : 0;
  const Fields fields = splitFields(prefix ? params.substr(1) : params);
  if (prefix == '<' && (final_byte == 'M' || final_byte == 'm')) return addMouse(fields, final_byte, out);
  if (prefix == '?' && (final_byte == 'u' || final_byte == 'c')) {
    TerminalItem item;
    item.kind = final_byte == 'u' ? TerminalItem::Kind::KITTY_FLAGS
                                  : TerminalItem::Kind::DEVICE_ATTRIBUTES;
    item.value = field(fields, 0, 0, 0);
    out.push_back(item);
    return;
  }
  if (prefix) return;
  Key key = Key::Unknown;
  if (final_byte == 'u') {
    key = keyFromKittyCode(field(fields, 0, 0, 0));
  } else if (final_byte == '~') {
    key = keyFromTilde(field(fields, 0, 0, 0));
  } else if (final_byte != 'M') {
    key = keyFromFinal(final_byte);
  }
  // "mods:event" in the second field; a press when there is none.
  if (key != Key::Unknown) out.push_back(keyItem(key, field(fields, 1, 1, 1)));
}

}  // namespace

Key keyFromByte(unsigned char byte) {
  if (byte >= 'a' && byte <= 'z') return offsetKey(Key::A, byte - 'a');
  if (byte >= 'A' && byte <= 'Z') return offsetKey(Key::A, byte - 'A');
  if (byte >= '0' && byte <= '9') return offsetKey(Key::Num0, byte - '0');
  switch (byte) {
    case ' ': case 0x00: return Key::Space;  // 0x00: Ctrl + Space
    case '\r': case '\n': return Key::Enter;
    case '\t': return Key::Tab;
    case 0x7f: case 0x08: return Key::Backspace;
    case ESC: return Key::Escape;
    default: break;
  }
  if (byte >= 0x01 && byte <= 0x1a) return offsetKey(Key::A, byte - 1);  // Ctrl + letter
  for (std::size_t i = 0; PUNCTUATION[i] != '\0'; i++) {
    if (static_cast<unsigned char>(PUNCTUATION[i]) == byte) return PUNCTUATION_KEYS[i];
  }
  return Key::Unknown;
}

void TerminalInput::feed(const char* bytes, std::size_t count, std::vector<TerminalItem>& out) {
  buffer.append(bytes, count);
  std::size_t pos = 0;
  while (pos < buffer.size()) {
    if (dropping) {
      pos += skipDropped(pos);
      continue;
    }
    const std::size_t used = parseOne(pos, out);
    if (used == 0) break;  // an unfinished sequence waits for more
    pos += used;
  }
  buffer.erase(0, pos);
}

// The rest of a sequence being dropped: its parameter bytes and its final
// byte. Any other byte ends it unread, as it ends a sequence cut off.
std::size_t TerminalInput::skipDropped(std::size_t pos) {
  std::size_t i = pos;
  while (i < buffer.size() && isParameterByte(static_cast<unsigned char>(buffer[i]))) i++;
  if (i < buffer.size()) {
    dropping = false;
    if (isFinalByte(static_cast<unsigned char>(buffer[i]))) i++;
  }
  return i - pos;
}

bool TerminalInput::hasPending() const { return !buffer.empty() || dropping; }

// Only a lone ESC is given up on: it is the Escape key. A sequence begun
// further (ESC '[' or ESC 'O' and on) is never typing: over a slow link its
// rest may come much later, so it waits, however long, for the byte that
// completes it or for one that cannot belong to it, which ends it (dropped).
void TerminalInput::flush(std::vector<TerminalItem>& out) {
  if (buffer.size() == 1 && static_cast<unsigned char>(buffer[0]) == ESC) {
    out.push_back(keyItem(Key::Escape, 1));
    buffer.clear();
  }
}

std::size_t TerminalInput::parseOne(std::size_t pos, std::vector<TerminalItem>& out) {
  const unsigned char byte = static_cast<unsigned char>(buffer[pos]);
  if (byte == ESC) return parseEscape(pos, out);
  const Key key = keyFromByte(byte);
  if (key != Key::Unknown) out.push_back(keyItem(key, 1));
  return 1;
}

std::size_t TerminalInput::parseEscape(std::size_t pos, std::vector<TerminalItem>& out) {
  if (pos + 1 >= buffer.size()) return 0;  // a lone ESC: Escape or the start of a sequence
  const char next = buffer[pos + 1];
  if (next == '[') return parseCsi(pos, out);
  if (next == 'O') {
    if (pos + 2 >= buffer.size()) return 0;
    // A byte that cannot end the sequence breaks it off; it is read on its own.
    if (!isFinalByte(static_cast<unsigned char>(buffer[pos + 2]))) return 2;
    const Key key = keyFromFinal(buffer[pos + 2]);
    if (key != Key::Unknown) out.push_back(keyItem(key, 1));
    return 3;
  }
  // ESC before anything else is the Escape key itself (Alt + key also sends
  // this; the Alt is not reported). The next byte is parsed on its own.
  out.push_back(keyItem(Key::Escape, 1));
  return 1;
}

std::size_t TerminalInput::parseCsi(std::size_t pos, std::vector<TerminalItem>& out) {
  const std::size_t start = pos + 2;
  std::size_t i = start;
  while (i < buffer.size()) {
    const unsigned char c = static_cast<unsigned char>(buffer[i]);
    if (isFinalByte(c)) break;
    if (!isParameterByte(c)) return i - pos;  // broken off: drop what came so far
    if (++i - pos >= MAX_SEQUENCE) {
      dropping = true;  // over-long: what came so far goes, and the rest with it
      return i - pos;
    }
  }
  if (i >= buffer.size()) return 0;
  const char final_byte = buffer[i];
  if (final_byte == 'M' && i == start) {
    // The classic mouse report "CSI M b x y" (three raw bytes, offset by 32),
    // sent by terminals that ignore the SGR request.
    // A release there does not say which button: it is taken as the left one.
    if (i + 3 >= buffer.size()) return 0;
    const int b = static_cast<unsigned char>(buffer[i + 1]) - 32;
    const bool release = (b & (3 | 32 | 64)) == 3;
    const std::string xy = ";" + std::to_string(static_cast<unsigned char>(buffer[i + 2]) - 32) +
                           ";" + std::to_string(static_cast<unsigned char>(buffer[i + 3]) - 32);
    interpretCsi("<" + std::to_string(release ? 0 : b) + xy, release ? 'm' : 'M', out);
    return i + 4 - pos;
  }
  interpretCsi(buffer.substr(start, i - start), final_byte, out);
  return i + 1 - pos;
}

}  // namespace platform
}  // namespace tw
