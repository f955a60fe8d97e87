#include "engine/input/InputRecording.h"

#include <cmath>
#include <cstring>

#include "engine/input/Keyboard.h"
#include "engine/input/Mouse.h"
#include "engine/platform/Files.h"

namespace tw {

namespace {

const char MAGIC[8] = {'T', 'W', 'R', 'E', 'P', 'L', 'A', 'Y'};
const std::size_t HEADER_BYTES = 40;
const std::size_t EVENT_BYTES = 12;
const std::size_t FRAME_BYTES = 2;  // the frame's event count
const std::size_t CHECKSUM_BYTES = 4;
const int MAX_FRAME_TIME = 10000;  // milliseconds
const int MAX_GRID = 10000;        // columns or rows
const float MAX_POSITION = 1.0e6f;  // cells, either way

// FNV-1a, 32 bits.
std::uint32_t checksum(const char* data, std::size_t n) {
  std::uint32_t hash = 2166136261u;
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
void putI32(std::string& out, int v) { putU32(out, static_cast<std::uint32_t>(v)); }
void putF32(std::string& out, float v) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  putU32(out, bits);
}

// Reads little-endian values from the bytes, never past their end.
class ByteReader {
 public:
  explicit ByteReader(const std::string& b) : bytes(b) {}
  std::size_t left() const { return bytes.size() - CHECKSUM_BYTES - pos; }
  unsigned u8() { return static_cast<unsigned char>(bytes[pos++]); }
  unsigned u16() {
    const unsigned low = u8();
    return low | (u8() << 8);
  }
  std::uint32_t u32() {
    const std::uint32_t low = u16();
    return low | (static_cast<std::uint32_t>(u16()) << 16);
  }
  int i32() { return static_cast<int>(u32()); }
  int i16() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(u16())); }
  float f32() {
    const std::uint32_t bits = u32();
    float v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  std::string text(std::size_t n) {
    std::string s = bytes.substr(pos, n);
    pos += n;
    return s;
  }

 private:
  const std::string& bytes;
  std::size_t pos = 0;
};

bool validName(const std::string& name) {
  if (name.empty() || name.size() > InputRecording::MAX_NAME_LENGTH) return false;
  for (char c : name) {
    if (c <= ' ' || c > '~') return false;
  }
  return true;
}

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
    case RecordedInput::CLOSE:
      return e.action == 0 && e.code == 0 && e.x == 0 && e.y == 0 ? "" : "bad close event";
  }
  return "unknown event kind";
}

struct Header {
  std::uint32_t version;
  int seed, frame_time, columns, rows;
  std::uint32_t value_count, frame_count, event_count;
};

std::string readHeader(ByteReader& in, Header& h) {
  if (in.text(sizeof MAGIC) != std::string(MAGIC, sizeof MAGIC)) {
    return "not a Tarnwick replay file";
  }
  h.version = in.u32();
  if (h.version != InputRecording::VERSION) {
    return "file version " + std::to_string(h.version) + ", this program reads version " +
           std::to_string(InputRecording::VERSION);
  }
  h.seed = in.i32();
  h.frame_time = in.i32();
  h.columns = in.i32();
  h.rows = in.i32();
  h.value_count = in.u32();
  h.frame_count = in.u32();
  h.event_count = in.u32();
  if (h.frame_time < 0 || h.frame_time > MAX_FRAME_TIME) return "frame time out of range";
  if (h.columns < 1 || h.columns > MAX_GRID || h.rows < 1 || h.rows > MAX_GRID) {
    return "grid size out of range";
  }
  if (h.value_count > static_cast<std::uint32_t>(InputRecording::MAX_VALUES)) {
    return "too many values (" + std::to_string(h.value_count) + ")";
  }
  return "";
}

// The frames and events the header promises must fit in what is left, so
// that nothing is reserved for a count the file cannot back.
std::string checkCounts(const ByteReader& in, const Header& h) {
  const unsigned long long needed =
      static_cast<unsigned long long>(h.frame_count) * FRAME_BYTES +
      static_cast<unsigned long long>(h.event_count) * EVENT_BYTES;
  if (needed > in.left()) {
    return "truncated or hostile: " + std::to_string(h.frame_count) + " frames and " +
           std::to_string(h.event_count) + " events need " + std::to_string(needed) +
           " bytes, " + std::to_string(in.left()) + " are left";
  }
  return "";
}

std::string readValues(ByteReader& in, const Header& h, InputRecording& r) {
  for (std::uint32_t i = 0; i < h.value_count; i++) {
    if (in.left() < 1) return "truncated in the values";
    const std::size_t length = in.u8();
    if (in.left() < length + 4) return "truncated in the values";
    const std::string name = in.text(length);
    const int value = in.i32();
    int earlier = 0;
    if (r.getValue(name, earlier) || r.setValue(name, value) != 0) return "bad value name";
  }
  return "";
}

std::string readEvent(ByteReader& in, RecordedInput& e) {
  const unsigned kind = in.u8();
  if (kind > RecordedInput::CLOSE) return "unknown event kind " + std::to_string(kind);
  e.kind = static_cast<RecordedInput::Kind>(kind);
  e.action = static_cast<int>(in.u8());
  e.code = in.i16();
  e.x = in.f32();
  e.y = in.f32();
  return checkEvent(e);
}

std::string readFrames(ByteReader& in, const Header& h, InputRecording& r) {
  std::uint32_t events_left = h.event_count;
  for (std::uint32_t f = 0; f < h.frame_count; f++) {
    if (in.left() < FRAME_BYTES) return "truncated at frame " + std::to_string(f);
    const unsigned count = in.u16();
    if (count > events_left || in.left() < count * EVENT_BYTES) {
      return "frame " + std::to_string(f) + " holds more events than the file";
    }
    events_left -= count;
    r.beginFrame();
    for (unsigned i = 0; i < count; i++) {
      RecordedInput e;
      const std::string why = readEvent(in, e);
      if (!why.empty()) return "frame " + std::to_string(f) + ": " + why;
      r.addEvent(e);
    }
  }
  if (events_left != 0) return "fewer events than the header counts";
  if (in.left() != 0) return std::to_string(in.left()) + " stray bytes after the last frame";
  return "";
}

std::string decodeInto(const std::string& bytes, InputRecording& r) {
  if (bytes.size() < HEADER_BYTES + CHECKSUM_BYTES) {
    return "truncated: " + std::to_string(bytes.size()) + " bytes";
  }
  ByteReader in(bytes);
  Header h{};
  std::string why = readHeader(in, h);
  if (why.empty()) why = checkCounts(in, h);
  if (why.empty()) why = readValues(in, h, r);
  if (why.empty()) why = checkCounts(in, h);
  if (why.empty()) why = readFrames(in, h, r);
  if (!why.empty()) return why;
  const std::size_t body = bytes.size() - CHECKSUM_BYTES;
  std::uint32_t stored = 0;
  for (std::size_t i = 0; i < CHECKSUM_BYTES; i++) {
    stored |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[body + i])) << (8 * i);
  }
  if (stored != checksum(bytes.data(), body)) return "corrupted: the checksum does not match";
  r.setSeed(h.seed);
  r.setFrameTime(h.frame_time);
  r.setGrid(h.columns, h.rows);
  return "";
}

}  // namespace

bool operator==(const RecordedInput& a, const RecordedInput& b) {
  return a.kind == b.kind && a.action == b.action && a.code == b.code && a.x == b.x &&
         a.y == b.y;
}

void InputRecording::setGrid(int new_columns, int new_rows) {
  columns = new_columns;
  rows = new_rows;
}

int InputRecording::setValue(const std::string& name, int value) {
  if (!validName(name)) return -1;
  for (auto& named : values) {
    if (named.first == name) {
      named.second = value;
      return 0;
    }
  }
  if (static_cast<int>(values.size()) >= MAX_VALUES) return -1;
  values.emplace_back(name, value);
  return 0;
}

bool InputRecording::getValue(const std::string& name, int& value) const {
  for (const auto& named : values) {
    if (named.first != name) continue;
    value = named.second;
    return true;
  }
  return false;
}

void InputRecording::beginFrame() { frame_starts.push_back(static_cast<std::uint32_t>(events.size())); }

bool InputRecording::addEvent(const RecordedInput& event) {
  if (frame_starts.empty()) return false;
  if (events.size() - frame_starts.back() >= static_cast<std::size_t>(MAX_EVENTS_PER_FRAME)) {
    return false;
  }
  events.push_back(event);
  return true;
}

const RecordedInput* InputRecording::getFrame(int frame, int& count) const {
  count = 0;
  if (frame < 0 || frame >= getFrameCount()) return nullptr;
  const std::size_t first = frame_starts[static_cast<std::size_t>(frame)];
  const std::size_t end = frame + 1 < getFrameCount()
                              ? frame_starts[static_cast<std::size_t>(frame) + 1]
                              : events.size();
  count = static_cast<int>(end - first);
  return count > 0 ? &events[first] : nullptr;
}

std::string InputRecording::encode() const {
  std::string out(MAGIC, sizeof MAGIC);
  putU32(out, VERSION);
  putI32(out, seed);
  putI32(out, frame_time);
  putI32(out, columns);
  putI32(out, rows);
  putU32(out, static_cast<std::uint32_t>(values.size()));
  putU32(out, static_cast<std::uint32_t>(frame_starts.size()));
  putU32(out, static_cast<std::uint32_t>(events.size()));
  for (const auto& named : values) {
    putU8(out, static_cast<unsigned>(named.first.size()));
    out += named.first;
    putI32(out, named.second);
  }
  for (int f = 0; f < getFrameCount(); f++) {
    int count = 0;
    const RecordedInput* p_events = getFrame(f, count);
    putU16(out, static_cast<unsigned>(count));
    for (int i = 0; i < count; i++) {
      putU8(out, p_events[i].kind);
      putU8(out, static_cast<unsigned>(p_events[i].action));
      putU16(out, static_cast<unsigned>(p_events[i].code) & 0xFFFFu);
      putF32(out, p_events[i].x);
      putF32(out, p_events[i].y);
    }
  }
  putU32(out, checksum(out.data(), out.size()));
  return out;
}

int InputRecording::decode(const std::string& bytes, InputRecording& out, std::string& error) {
  InputRecording read;
  error = decodeInto(bytes, read);
  if (!error.empty()) return -1;
  out = std::move(read);
  return 0;
}

int InputRecording::save(const std::string& path, std::string& why) const {
  return platform::replaceFile(path, encode(), why);
}

int InputRecording::load(const std::string& path, InputRecording& out, std::string& why) {
  std::string bytes;
  switch (platform::readWholeFile(path, MAX_FILE_BYTES, bytes)) {
    case platform::ReadStatus::MISSING: why = "no such file"; return -1;
    case platform::ReadStatus::UNREADABLE: why = "cannot be read"; return -1;
    case platform::ReadStatus::TOO_LARGE: why = "larger than 64 MiB"; return -1;
    case platform::ReadStatus::OK: break;
  }
  return decode(bytes, out, why);
}

}  // namespace tw
