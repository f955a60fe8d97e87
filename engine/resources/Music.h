// A labelled piece of music streamed from its file while it plays. The
// resource manager holds a fixed table of these; callers use pointers.
// Without an audio device the file is still checked but playing is silent.
#pragma once

#include <memory>
#include <string>

#include "engine/platform/Export.h"

namespace tw {

namespace platform {
class MusicStream;  // the audio library behind the platform layer
}  // namespace platform

class TW_API Music {
 public:
  Music();
  ~Music();
  Music(const Music&) = delete;
  Music& operator=(const Music&) = delete;

  // 0 when filename opens as a music stream, -1 otherwise (no log line).
  int loadMusic(std::string filename);
  void setLabel(std::string new_label);
  std::string getLabel() const;
  // Logs the request and starts the stream, looping when loop is set.
  void play(bool loop = true);
  void stop();

 private:
  // Made only when an audio device exists (see Sound).
  std::unique_ptr<platform::MusicStream> stream;
  std::string label;
};

}  // namespace tw
