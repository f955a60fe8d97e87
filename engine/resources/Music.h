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
  // Opens filename again in place of the current stream; music that was
  // playing in a loop starts again from the beginning. -1 keeps the old one.
  int reloadMusic(std::string filename);

 private:
  // Made only when an audio device exists (see Sound).
  std::unique_ptr<platform::MusicStream> stream;
  std::string label;
  bool looping;  // played in a loop and not stopped since
};

}  // namespace tw
