// A labelled sound effect decoded fully into memory and played from there.
// The resource manager holds a fixed table of these; callers use pointers.
// Without an audio device a sound still loads (the file is checked) but plays silently.
#pragma once

#include <memory>
#include <string>

namespace sf {
class Sound;
class SoundBuffer;
}  // namespace sf

namespace tw {

class Sound {
 public:
  Sound();
  // Deletes the player before the samples it plays.
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
  // Both are made only when an audio device exists, so a machine without
  // sound hardware never touches the audio library for an idle table entry.
  std::unique_ptr<sf::Sound> sound;               // null until a load succeeds
  std::unique_ptr<sf::SoundBuffer> sound_buffer;  // the decoded samples
  std::string label;
};

}  // namespace tw
