// Reads replay files of version 1, written whole at shut-down by earlier
// versions of the engine: a header with every count, the values, the frames
// and one checksum over all of it at the end (layout in the README).
#include "engine/input/RecordingBytes.h"

namespace tw {
namespace recording_bytes {

namespace {

struct Header {
  int seed, frame_time, columns, rows;
  std::uint32_t value_count, frame_count, event_count;
};

// After the magic and the version, which the caller has checked.
std::string readHeader(ByteReader& in, Header& h) {
  h.seed = in.i32();
  h.frame_time = in.i32();
  h.columns = in.i32();
  h.rows = in.i32();
  h.value_count = in.u32();
  h.frame_count = in.u32();
  h.event_count = in.u32();
  if (!frameTimeFrom(h.frame_time, h.frame_time)) return "frame time out of range";
  if (!gridInRange(h.columns, h.rows)) {
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
      static_cast<unsigned long long>(h.frame_count) * V1_FRAME_BYTES +
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

std::string readFrames(ByteReader& in, const Header& h, InputRecording& r) {
  std::uint32_t events_left = h.event_count;
  for (std::uint32_t f = 0; f < h.frame_count; f++) {
    if (in.left() < V1_FRAME_BYTES) return "truncated at frame " + std::to_string(f);
    const unsigned count = in.u16();
    if (count > events_left || in.left() < count * EVENT_BYTES) {
      return "frame " + std::to_string(f) + " holds more events than the file";
    }
    events_left -= count;
    const std::string why = readFrame(in, count, static_cast<int>(f), r);
    if (!why.empty()) return why;
  }
  if (events_left != 0) return "fewer events than the header counts";
  if (in.left() != 0) return std::to_string(in.left()) + " stray bytes after the last frame";
  return "";
}

}  // namespace

std::string decodeVersion1(const std::string& bytes, InputRecording& r) {
  if (bytes.size() < V1_HEADER_BYTES + CHECK_BYTES) {
    return "truncated: " + std::to_string(bytes.size()) + " bytes";
  }
  const std::size_t body = bytes.size() - CHECK_BYTES;
  ByteReader in(bytes, sizeof MAGIC + 4, body);
  Header h{};
  std::string why = readHeader(in, h);
  if (why.empty()) why = checkCounts(in, h);
  if (why.empty()) why = readValues(in, h, r);
  if (why.empty()) why = checkCounts(in, h);
  if (why.empty()) why = readFrames(in, h, r);
  if (!why.empty()) return why;
  if (ByteReader(bytes, body, bytes.size()).u32() != checksum(FNV_START, bytes.data(), body)) {
    return "corrupted: the checksum does not match";
  }
  r.setSeed(h.seed);
  r.setFrameTime(h.frame_time);
  r.setGrid(h.columns, h.rows);
  return "";
}

}  // namespace recording_bytes
}  // namespace tw
