// Sound effects and music behind the audio library, in the engine's own
// types: a clip decoded into memory and a stream read as it plays. Without an
// audio device both still check their files but play silently.
#pragma once

#include <memory>
#include <string>

namespace tw {
namespace platform {

// Lets go of the device probe at shut-down: the device then closes with the
// last sound or music destroyed. Audio objects made later still play.
void releaseAudio();

class SoundClip {
 public:
  SoundClip();
  ~SoundClip();  // the player goes before the samples it plays
  SoundClip(const SoundClip&) = delete;
  SoundClip& operator=(const SoundClip&) = delete;

  // False when the file does not decode as sound (a failed load keeps the
  // previous sound).
  bool load(const std::string& filename);
  void play(bool loop);
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

class MusicStream {
 public:
  MusicStream();
  ~MusicStream();
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  bool open(const std::string& filename);
  void play(bool loop);
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

}  // namespace platform
}  // namespace tw
