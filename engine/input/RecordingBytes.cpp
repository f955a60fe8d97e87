#include "engine/input/RecordingBytes.h"

#include <cmath>
#include <cstring>

#include "engine/core/Config.h"
#include "engine/input/Keyboard.h"
#include "engine/input/Mouse.h"

namespace tw {
namespace recording_bytes {

namespace {

const float MAX_POSITION = 1.0e6f;  // cells, either way

bool validPosition(float v) { return std::isfinite(v) && std::fabs(v) <= MAX_POSITION; }

// Why an event cannot have been delivered by the input manager ("" when it can).
std::string checkEvent(const RecordedInput& e) {
  switch (e.kind) {
    case RecordedInput::KEY:
      if (e.action < KEY_PRESSED || e.action > KEY_HELD) return "bad keyboard action";
      if (e.code < Keyboard::KEY_UNDEFINED || e.code >= Keyboard::KEY_COUNT) return "bad key";
      return e.x == 0 && e.y == 0 ? "" : "key event with a position";
    case RecordedInput::MOUSE:
      if (e.action < MOUSE_CLICKED || e.action > MOUSE_MOVED) return "bad mouse action";
      if (e.code < Mouse::MOUSE_BUTTON_UNDEFINED || e.code > Mouse::MOUSE_MIDDLE) {
        return "bad mouse button";
      }
      return validPosition(e.x) && validPosition(e.y) ? "" : "mouse position out of range";
    case RecordedInput::KEYSTROKE:
      if (e.action != 0 && e.action != 1) return "bad keystroke repeat mark";
      if (e.code < Keyboard::KEY_UNDEFINED || e.code >= Keyboard::KEY_COUNT) return "bad key";
      return e.x == 0 && e.y == 0 ? "" : "key event with a position";
    case RecordedInput::CLOSE:
      return e.action == 0 && e.code == 0 && e.x == 0 && e.y == 0 ? "" : "bad close event";
  }
  return "unknown event kind";
}

}  // namespace

std::uint32_t checksum(std::uint32_t hash, const char* data, std::size_t n) {
  for (std::size_t i = 0; i < n; i++) {
    hash ^= static_cast<unsigned char>(data[i]);
    hash *= 16777619u;
  }
  return hash;
}

void putU8(std::string& out, unsigned v) { out += static_cast<char>(v & 0xFFu); }

void putU16(std::string& out, unsigned v) {
  putU8(out, v);
  putU8(out, v >> 8);
}

void putU32(std::string& out, std::uint32_t v) {
  putU16(out, v & 0xFFFFu);
  putU16(out, v >> 16);
}

void putEvent(std::string& out, const RecordedInput& e) {
  putU8(out, e.kind);
  putU8(out, static_cast<unsigned>(e.action));
  putU16(out, static_cast<unsigned>(e.code) & 0xFFFFu);
  std::uint32_t bits = 0;
  std::memcpy(&bits, &e.x, sizeof bits);
  putU32(out, bits);
  std::memcpy(&bits, &e.y, sizeof bits);
  putU32(out, bits);
}

unsigned ByteReader::u8() {
  if (pos >= end) return 0;
  return static_cast<unsigned char>(bytes[pos++]);
}

unsigned ByteReader::u16() {
  const unsigned low = u8();
  return low | (u8() << 8);
}

std::uint32_t ByteReader::u32() {
  const std::uint32_t low = u16();
  return low | (static_cast<std::uint32_t>(u16()) << 16);
}

float ByteReader::f32() {
  const std::uint32_t bits = u32();
  float v = 0;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

std::string ByteReader::text(std::size_t n) {
  const std::size_t taken = n < left() ? n : left();
  std::string s = bytes.substr(pos, taken);
  pos += taken;
  return s;
}

std::string ByteReader::event(RecordedInput& e) {
  const unsigned kind = u8();
  e.action = static_cast<int>(u8());
  e.code = static_cast<std::int16_t>(static_cast<std::uint16_t>(u16()));
  e.x = f32();
  e.y = f32();
  if (kind > RecordedInput::KEYSTROKE) return "unknown event kind " + std::to_string(kind);
  e.kind = static_cast<RecordedInput::Kind>(kind);
  return checkEvent(e);
}

std::string readFrame(ByteReader& in, unsigned count, int frame, InputRecording& r) {
  r.beginFrame();
  for (unsigned i = 0; i < count; i++) {
    RecordedInput e;
    const std::string why = in.event(e);
    if (!why.empty()) return "frame " + std::to_string(frame) + ": " + why;
    r.addEvent(e);
  }
  return "";
}

bool validName(const std::string& name) {
  if (name.empty() || name.size() > InputRecording::MAX_NAME_LENGTH) return false;
  for (char c : name) {
    if (c <= ' ' || c > '~') return false;
  }
  return true;
}

bool gridInRange(int columns, int rows) {
  const int most = Config::MAX_GRID_CHARS;
  return columns >= 1 && columns <= most && rows >= 1 && rows <= most;
}

bool frameTimeFrom(int recorded, int& frame_time) {
  if (recorded < 0) return false;
  const int limit = Config::MAX_FRAME_TIME;  // a copy: the constant has no definition to refer to
  frame_time = recorded < limit ? recorded : limit;
  return true;
}

}  // namespace recording_bytes
}  // namespace tw
