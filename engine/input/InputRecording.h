// A recorded run: the input the input manager delivered, frame by frame, with
// what else a replay needs to play out the same (random seed, frame time,
// grid size, and values the game read from outside). Also its file format,
// written piece by piece while the run goes on: encode and decode are pure
// functions of the recording and of the bytes.
#pragma once

#include "engine/platform/Export.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tw {

// One delivered input event.
struct TW_API RecordedInput {
  // KEYSTROKE: one keystroke event, action 1 for an auto-repeat, else 0.
  enum Kind : std::uint8_t { KEY = 0, MOUSE = 1, CLOSE = 2, KEYSTROKE = 3 };
  Kind kind = CLOSE;
  int action = 0;  // KeyboardAction or MouseAction; 0 for CLOSE
  int code = 0;    // Keyboard::Key or Mouse::Button; 0 for CLOSE
  float x = 0.0f;  // mouse position in cells; 0 otherwise
  float y = 0.0f;
};
TW_API bool operator==(const RecordedInput& a, const RecordedInput& b);

class TW_API InputRecording {
 public:
  // The version written; files of versions 1 and 2 are still read.
  static const std::uint32_t VERSION = 3;
  static const std::size_t MAX_FILE_BYTES = 64u << 20;
  static const int MAX_VALUES = 64;
  static const std::size_t MAX_NAME_LENGTH = 64;
  static const int MAX_EVENTS_PER_FRAME = 65535;

  int getSeed() const { return seed; }
  void setSeed(int new_seed) { seed = new_seed; }
  int getFrameTime() const { return frame_time; }  // milliseconds
  void setFrameTime(int milliseconds) { frame_time = milliseconds; }
  int getColumns() const { return columns; }
  int getRows() const { return rows; }
  void setGrid(int new_columns, int new_rows);

  // A named value the game read from outside the program (a saved best
  // score, say), so that a replay can start from the same one. Names are
  // 1 to 64 printable characters without blanks. Each call is kept, in its
  // place between the frames, at most 64 in all; the last one of a name
  // counts. -1 when the name or the count is refused.
  int setValue(const std::string& name, int value);
  bool getValue(const std::string& name, int& value) const;

  // Starts the next frame; events added go into it. false when the frame is
  // full (MAX_EVENTS_PER_FRAME) or no frame was begun.
  void beginFrame();
  bool addEvent(const RecordedInput& event);
  int getFrameCount() const { return static_cast<int>(frame_starts.size()); }
  std::size_t getEventCount() const { return events.size(); }
  // The events of one frame (count of them in count); null when it has none.
  const RecordedInput* getFrame(int frame, int& count) const;

  // Read from a file whose writing stopped early (its game was killed): it
  // holds the frames written whole, and encodes without the closing record.
  bool isCutShort() const { return cut_short; }
  // False for a file of version 1 or 2, made before keystrokes were
  // recorded: a replay then takes one from each key press.
  bool hasKeystrokes() const { return keystrokes; }

  // How far an encoding has got, so that a recording still being made can
  // be written out piece by piece.
  struct EncodeState {
    std::uint32_t checksum = 0;  // of every byte so far
    bool started = false;        // the header is written
    int frames = 0;              // frames written
    std::size_t values = 0;      // values written
    bool closed = false;         // the closing record is written
  };
  // Appends to out the bytes that follow state: the header first, then the
  // first `frames` frames with the values set among them; with close (once
  // every frame is written) the closing record that marks a whole file.
  void encodeInto(EncodeState& state, int frames, bool close, std::string& out) const;
  // The file's bytes (format in the README).
  std::string encode() const;
  // Reads a recording from a file's bytes, of version 1, 2 or 3. 0, or -1 with
  // the reason in error, out left unchanged. A file cut short is read up to
  // its last whole frame (isCutShort); other versions, changed bytes, stray
  // bytes and values out of range are refused.
  static int decode(const std::string& bytes, InputRecording& out, std::string& error);

  // Writes the file so that it is whole or absent. 0, or -1 with why.
  int save(const std::string& path, std::string& why) const;
  // Reads and decodes a file of at most MAX_FILE_BYTES. 0, or -1 with why.
  static int load(const std::string& path, InputRecording& out, std::string& why);

 private:
  struct Value {
    std::string name;
    int value;
    int frame;  // the frames begun when it was set: it is written after them
  };
  void writeValue(EncodeState& state, const Value& v, std::string& out) const;
  void writeFrame(EncodeState& state, int frame, std::string& out) const;

  int seed = 0;
  int frame_time = 33;  // milliseconds
  int columns = 80;
  int rows = 24;
  std::vector<Value> values;                // in the order they were set
  std::vector<RecordedInput> events;        // every frame's, in order
  std::vector<std::uint32_t> frame_starts;  // index of each frame's first event
  bool cut_short = false;
  bool keystrokes = true;
};

}  // namespace tw
