// The replay file's numbers (its magic, the sizes of its pieces, the limits
// a header must meet) and the byte-level pieces every version shares:
// little-endian values written to and read from a byte string (never past
// its end), the running FNV-1a checksum, and the rules an event and a value
// name must meet. The limits a caller sees are InputRecording's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/input/InputRecording.h"

namespace tw {
namespace recording_bytes {

const char MAGIC[8] = {'T', 'W', 'R', 'E', 'P', 'L', 'A', 'Y'};
const std::size_t HEADER_BYTES = 28;  // magic to grid, before the header's checksum
const std::size_t CHECK_BYTES = 4;    // a running checksum
const std::size_t HEAD_BYTES = 5;     // a record's kind, size and mark
const std::size_t EVENT_BYTES = 12;
const std::size_t V1_HEADER_BYTES = 40;  // version 1: magic to event count, unchecked
const std::size_t V1_FRAME_BYTES = 2;    // version 1: a frame's event count
const std::uint32_t FNV_START = 2166136261u;

// The frame time a header's recorded milliseconds give: a negative one is
// refused (false); one above Config::MAX_FRAME_TIME, which only files
// written before the settings had that limit hold, is read as that limit
// (a replay steps the same at any pace).
bool frameTimeFrom(int recorded, int& frame_time);

// Whether a header's grid can be replayed: 1 to Config::MAX_GRID_CHARS
// columns and rows, as the settings allow (no recording holds a larger one
// that any grid could replay).
bool gridInRange(int columns, int rows);

// FNV-1a (32 bits) carried on from hash over n more bytes.
std::uint32_t checksum(std::uint32_t hash, const char* data, std::size_t n);

void putU8(std::string& out, unsigned v);
void putU16(std::string& out, unsigned v);
void putU32(std::string& out, std::uint32_t v);
void putEvent(std::string& out, const RecordedInput& e);

// Reads little-endian values from bytes[begin, end). Callers check left()
// before reading; a read past the end yields zeros, never a stray access.
class ByteReader {
 public:
  ByteReader(const std::string& bytes, std::size_t begin, std::size_t end)
      : bytes(bytes), end(end < bytes.size() ? end : bytes.size()), pos(begin) {}
  std::size_t left() const { return pos < end ? end - pos : 0; }
  std::size_t position() const { return pos; }
  void skip(std::size_t n) { pos += n < left() ? n : left(); }
  unsigned u8();
  unsigned u16();
  std::uint32_t u32();
  int i32() { return static_cast<int>(u32()); }
  float f32();
  std::string text(std::size_t n);
  // Reads one event's 12 bytes; "" or why the input manager could not have
  // delivered it.
  std::string event(RecordedInput& e);

 private:
  const std::string& bytes;
  std::size_t end;
  std::size_t pos;
};

// Reads count events from in into a new frame of r (its index frame, for
// the reason); "" or why one of them is not an event.
std::string readFrame(ByteReader& in, unsigned count, int frame, InputRecording& r);

// Names of carried values: 1 to 64 printable characters, no blanks.
bool validName(const std::string& name);

// Reads the bytes of a version 1 file (its magic and version already
// checked) into r: "" or why the file is refused (RecordingVersion1.cpp).
std::string decodeVersion1(const std::string& bytes, InputRecording& r);

}  // namespace recording_bytes
}  // namespace tw
