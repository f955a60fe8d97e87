// A labelled sound effect decoded fully into memory and played from there.
// The resource manager holds a fixed table of these; callers use pointers.
// Without an audio device a sound still loads (the file is checked) but plays silently.
#pragma once

#include <memory>
#include <string>

#include "engine/platform/Export.h"

namespace tw {

namespace platform {
class SoundClip;  // the audio library behind the platform layer
}  // namespace platform

class TW_API Sound {
 public:
  Sound();
  ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // 0 when filename decodes as a sound, -1 otherwise (no log line: the
  // resource manager reports it). A failed load keeps the previous sound.
  int loadSound(std::string filename);
  void setLabel(std::string new_label);
  std::string getLabel() const;
  // Logs the request; plays only when a sound was loaded and audio exists.
  void play(bool loop = false);
  void stop();

 private:
  std::unique_ptr<platform::SoundClip> clip;
  std::string label;
};

}  // namespace tw
