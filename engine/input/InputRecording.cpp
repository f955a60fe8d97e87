#include "engine/input/InputRecording.h"

#include "engine/input/RecordingBytes.h"
#include "engine/platform/Files.h"

#include <utility>
#include <vector>

namespace tw {

using namespace recording_bytes;

namespace {

// Record kinds after the header.
enum : unsigned { FRAME_RECORD = 1, VALUE_RECORD = 2, CLOSING_RECORD = 3 };

// Appends bytes to out, carrying the running checksum on.
class Emitter {
 public:
  Emitter(std::uint32_t& hash, std::string& out) : hash(hash), out(out) {}
  void add(const std::string& bytes) {
    out += bytes;
    hash = checksum(hash, bytes.data(), bytes.size());
  }
  void addChecksum(unsigned bytes) {
    std::string check;
    bytes == 2 ? putU16(check, hash & 0xFFFFu) : putU32(check, hash);
    add(check);
  }
  // Kind and size, the mark (the checksum's low half) that vouches for
  // them, the body, and the checksum of everything so far.
  void record(unsigned kind, unsigned size, const std::string& body) {
    std::string head;
    putU8(head, kind);
    putU16(head, size);
    add(head);
    addChecksum(2);
    add(body);
    addChecksum(4);
  }

 private:
  std::uint32_t& hash;
  std::string& out;
};

const std::size_t NOT_A_RECORD = static_cast<std::size_t>(-1);

// The body bytes a record of this kind and size holds; NOT_A_RECORD when
// the pair is not one a writer makes.
std::size_t bodyBytes(unsigned kind, unsigned size) {
  switch (kind) {
    case FRAME_RECORD: return size * EVENT_BYTES;
    case VALUE_RECORD:
      return size >= 1 && size <= InputRecording::MAX_NAME_LENGTH ? size + 4 : NOT_A_RECORD;
    case CLOSING_RECORD: return size == 0 ? 4 : NOT_A_RECORD;
    default: return NOT_A_RECORD;
  }
}

struct CarriedValue {
  std::string name;
  int value;
  int frame;
};

// Reads a file of version 2 or 3 (3 adds keystroke events): the header, then
// records up to the closing one.
// A record the file ends inside, or no closing record at all, leaves the
// recording cut short; a record whose mark or checksum does not match is
// refused, so a changed byte cannot pass for a file cut short. Frames go
// straight into the recording, values into values.
class Version2Reader {
 public:
  Version2Reader(const std::string& bytes, InputRecording& r)
      : bytes(bytes), in(bytes, 0, bytes.size()), r(r) {}
  std::string read() {
    std::string why = readHeader();
    while (why.empty() && in.left() > 0) {
      if (closed) return std::to_string(in.left()) + " stray bytes after the closing record";
      why = readRecord();
    }
    return why;
  }

  std::vector<CarriedValue> values;
  bool closed = false;

 private:
  std::string readHeader() {
    if (bytes.size() < HEADER_BYTES + CHECK_BYTES) {
      return "truncated: " + std::to_string(bytes.size()) + " bytes";
    }
    in.skip(sizeof MAGIC + 4);
    r.setSeed(in.i32());
    int frame_time = in.i32();
    const int columns = in.i32();
    const int rows = in.i32();
    r.setGrid(columns, rows);
    if (!checksumFollows()) return "corrupted: the header's checksum does not match";
    if (!frameTimeFrom(frame_time, frame_time)) return "frame time out of range";
    r.setFrameTime(frame_time);
    if (!gridInRange(columns, rows)) {
      return "grid size out of range";
    }
    return "";
  }

  // One record; "" when it was taken or the file ends inside it.
  std::string readRecord() {
    if (in.left() < HEAD_BYTES) return endsHere();
    const unsigned kind = in.u8();
    const unsigned size = in.u16();
    hashTo(in.position());
    if (in.u16() != (hash & 0xFFFFu)) return "corrupted: a record's mark does not match" + at();
    hashTo(in.position());
    const std::size_t body = bodyBytes(kind, size);
    if (body == NOT_A_RECORD) {
      return "unknown record (kind " + std::to_string(kind) + ", size " + std::to_string(size) + ")" + at();
    }
    if (in.left() < body + CHECK_BYTES) return endsHere();
    ByteReader record(bytes, in.position(), in.position() + body);
    in.skip(body);
    if (!checksumFollows()) return "corrupted: the checksum does not match" + at();
    return takeRecord(kind, size, record);
  }

  std::string takeRecord(unsigned kind, unsigned size, ByteReader& record) {
    if (kind == FRAME_RECORD) {
      const std::string why = readFrame(record, size, r.getFrameCount(), r);
      if (!why.empty()) return why;
    } else if (kind == VALUE_RECORD) {
      const std::string name = record.text(size);
      if (!validName(name)) return "bad value name" + at();
      if (values.size() >= static_cast<std::size_t>(InputRecording::MAX_VALUES)) return "too many values";
      values.push_back(CarriedValue{name, record.i32(), r.getFrameCount()});
    } else {
      const std::uint32_t frames = record.u32();
      if (frames != static_cast<std::uint32_t>(r.getFrameCount())) {
        return "the closing record counts " + std::to_string(frames) + " frames, the file holds " +
               std::to_string(r.getFrameCount());
      }
      closed = true;
    }
    return "";
  }

  // The file ends inside the record at in: the recording is cut short there.
  std::string endsHere() {
    in.skip(in.left());
    return "";
  }

  // Whether the next four bytes are the checksum of all before them; the
  // running checksum then takes them in too.
  bool checksumFollows() {
    hashTo(in.position());
    const bool same = in.u32() == hash;
    hashTo(in.position());
    return same;
  }
  void hashTo(std::size_t end) {
    hash = checksum(hash, bytes.data() + hashed, end - hashed);
    hashed = end;
  }
  std::string at() const { return " at byte " + std::to_string(in.position()); }

  const std::string& bytes;
  ByteReader in;
  InputRecording& r;
  std::uint32_t hash = FNV_START;  // of bytes[0, hashed)
  std::size_t hashed = 0;
};

std::string readVersion(const std::string& bytes, std::uint32_t& version) {
  if (bytes.size() < sizeof MAGIC + 4) return "truncated: " + std::to_string(bytes.size()) + " bytes";
  if (bytes.compare(0, sizeof MAGIC, std::string(MAGIC, sizeof MAGIC)) != 0) {
    return "not a Tarnwick replay file";
  }
  version = ByteReader(bytes, sizeof MAGIC, sizeof MAGIC + 4).u32();
  if (version >= 1 && version <= InputRecording::VERSION) return "";
  return "file version " + std::to_string(version) + ", this program reads versions 1 to " +
         std::to_string(InputRecording::VERSION);
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
  if (!validName(name) || static_cast<int>(values.size()) >= MAX_VALUES) return -1;
  values.push_back(Value{name, value, getFrameCount()});
  return 0;
}

bool InputRecording::getValue(const std::string& name, int& value) const {
  for (auto it = values.rbegin(); it != values.rend(); ++it) {
    if (it->name != name) continue;
    value = it->value;
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

void InputRecording::writeValue(EncodeState& state, const Value& v, std::string& out) const {
  std::string body = v.name;
  putU32(body, static_cast<std::uint32_t>(v.value));
  Emitter(state.checksum, out).record(VALUE_RECORD, static_cast<unsigned>(v.name.size()), body);
  state.values++;
}

void InputRecording::writeFrame(EncodeState& state, int frame, std::string& out) const {
  int count = 0;
  const RecordedInput* p_events = getFrame(frame, count);
  std::string body;
  body.reserve(static_cast<std::size_t>(count) * EVENT_BYTES);
  for (int i = 0; i < count; i++) putEvent(body, p_events[i]);
  Emitter(state.checksum, out).record(FRAME_RECORD, static_cast<unsigned>(count), body);
  state.frames++;
}

void InputRecording::encodeInto(EncodeState& state, int frames, bool close, std::string& out) const {
  if (state.closed) return;
  if (!state.started) {
    state.checksum = FNV_START;
    std::string header(MAGIC, sizeof MAGIC);
    for (std::uint32_t field : {VERSION, static_cast<std::uint32_t>(seed),
                                static_cast<std::uint32_t>(frame_time),
                                static_cast<std::uint32_t>(columns), static_cast<std::uint32_t>(rows)}) {
      putU32(header, field);
    }
    Emitter emit(state.checksum, out);
    emit.add(header);
    emit.addChecksum(4);
    state.started = true;
  }
  if (frames > getFrameCount()) frames = getFrameCount();
  while (true) {
    while (state.values < values.size() && values[state.values].frame <= state.frames) {
      writeValue(state, values[state.values], out);
    }
    if (state.frames >= frames) break;
    writeFrame(state, state.frames, out);
  }
  if (!close || state.frames < getFrameCount()) return;
  std::string body;
  putU32(body, static_cast<std::uint32_t>(state.frames));
  Emitter(state.checksum, out).record(CLOSING_RECORD, 0, body);
  state.closed = true;
}

std::string InputRecording::encode() const {
  EncodeState state;
  std::string out;
  encodeInto(state, getFrameCount(), !cut_short, out);
  return out;
}

int InputRecording::decode(const std::string& bytes, InputRecording& out, std::string& error) {
  InputRecording read;
  std::uint32_t version = 0;
  error = readVersion(bytes, version);
  if (!error.empty()) return -1;
  read.keystrokes = version >= 3;
  if (version == 1) {
    error = decodeVersion1(bytes, read);
    if (!error.empty()) return -1;
    out = std::move(read);
    return 0;
  }
  Version2Reader reader(bytes, read);
  error = reader.read();
  if (!error.empty()) return -1;
  for (CarriedValue& v : reader.values) read.values.push_back(Value{std::move(v.name), v.value, v.frame});
  read.cut_short = !reader.closed;
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
