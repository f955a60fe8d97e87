// A recorded run: the input the input manager delivered, frame by frame, with
// what else a replay needs to play out the same (random seed, frame time,
// grid size, and values the game read from outside). Also its file format:
// encode and decode are pure functions of the recording and of the bytes.
#pragma once

#include "engine/platform/Export.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tw {

// One delivered input event.
struct TW_API RecordedInput {
  enum Kind : std::uint8_t { KEY = 0, MOUSE = 1, CLOSE = 2 };
  Kind kind = CLOSE;
  int action = 0;  // KeyboardAction or MouseAction; 0 for CLOSE
  int code = 0;    // Keyboard::Key or Mouse::Button; 0 for CLOSE
  float x = 0.0f;  // mouse position in cells; 0 otherwise
  float y = 0.0f;
};
bool operator==(const RecordedInput& a, const RecordedInput& b);

class TW_API InputRecording {
 public:
  static const std::uint32_t VERSION = 1;
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
  // 1 to 64 printable characters without blanks; at most 64 values.
  // -1 when the name or the count is refused.
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

  // The file's bytes (format in the README).
  std::string encode() const;
  // Reads a recording from a file's bytes. 0, or -1 with the reason in
  // error, out left unchanged. Refuses other versions, truncation, stray
  // bytes, values out of range and a wrong checksum.
  static int decode(const std::string& bytes, InputRecording& out, std::string& error);

  // Writes the file so that it is whole or absent. 0, or -1 with why.
  int save(const std::string& path, std::string& why) const;
  // Reads and decodes a file of at most MAX_FILE_BYTES. 0, or -1 with why.
  static int load(const std::string& path, InputRecording& out, std::string& why);

 private:
  int seed = 0;
  int frame_time = 33;  // milliseconds
  int columns = 80;
  int rows = 24;
  std::vector<std::pair<std::string, int>> values;
  std::vector<RecordedInput> events;         // every frame's, in order
  std::vector<std::uint32_t> frame_starts;  // index of each frame's first event
};

}  // namespace tw
