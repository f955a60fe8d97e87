// Writes a recording into its file while the game runs, so that a game that
// is killed leaves a file that replays up to shortly before its end: the
// file is taken under a lock at start, the header and every finished frame
// go out at least twice a second, and the rest with the closing record at
// shut-down. What the file holds is the recording's encode(), written in
// pieces.
#pragma once

#include <string>

#include "engine/core/Clock.h"
#include "engine/input/InputRecording.h"
#include "engine/platform/LockedFile.h"

namespace tw {

class RecordingWriter {
 public:
  // Milliseconds at most between two writes while the game runs.
  static const int WRITE_INTERVAL_MS = 500;

  // Creates (or empties) the file under a lock. -1 with why when it cannot
  // be written or another running game is recording into it.
  int open(const std::string& path, std::string& why);
  // Called once a frame, after the next frame has begun: writes the frames
  // before it once the interval has passed (the header at once). 0, or -1
  // with why; the file is then closed and stays cut short.
  int update(const InputRecording& recording, std::string& why);
  // Writes the rest and the closing record, flushes to the disk and closes.
  // 0, or -1 with why.
  int finish(const InputRecording& recording, std::string& why);
  bool isOpen() const { return file.isOpen(); }

 private:
  int write(const InputRecording& recording, int frames, bool close, std::string& why);

  platform::LockedFile file;
  InputRecording::EncodeState state;
  Clock since_write;
};

}  // namespace tw
