#include "engine/platform/Audio.h"

#include <SFML/Audio/InputSoundFile.hpp>

#include "engine/platform/Sfml.h"

namespace tw {
namespace platform {

namespace {
// Without a device nothing can be played, but a bad file is still refused as
// it would be.
bool decodes(const std::string& filename) {
  sf::InputSoundFile file;
  return file.openFromFile(filename);
}
}  // namespace

// The player and the buffer are made only when an audio device exists, so a
// machine without sound hardware never touches the audio library for an idle
// table entry.
struct SoundClip::Impl {
  std::unique_ptr<sf::SoundBuffer> buffer;  // the decoded samples
  std::unique_ptr<sf::Sound> sound;         // null until a load succeeds
};

SoundClip::SoundClip() : impl(std::make_unique<Impl>()) {}

SoundClip::~SoundClip() {
  impl->sound.reset();
  impl->buffer.reset();
}

bool SoundClip::load(const std::string& filename) {
  if (!audioAvailable()) return decodes(filename);
  if (!impl->buffer) impl->buffer = std::make_unique<sf::SoundBuffer>();
  if (!loadSoundBuffer(*impl->buffer, filename)) return false;
  if (impl->sound) {
    impl->sound->setBuffer(*impl->buffer);
  } else {
    impl->sound = std::make_unique<sf::Sound>(*impl->buffer);
  }
  return true;
}

void SoundClip::play(bool loop) {
  if (!impl->sound) return;
  impl->sound->play();
  setLooping(*impl->sound, loop);
}

void SoundClip::stop() {
  if (impl->sound) impl->sound->stop();
}

struct MusicStream::Impl {
  std::unique_ptr<sf::Music> music;  // the stream; null until opened
};

MusicStream::MusicStream() : impl(std::make_unique<Impl>()) {}

MusicStream::~MusicStream() = default;

bool MusicStream::open(const std::string& filename) {
  if (!audioAvailable()) return decodes(filename);
  if (!impl->music) impl->music = std::make_unique<sf::Music>();
  return openMusicFromFile(*impl->music, filename);
}

void MusicStream::play(bool loop) {
  if (!impl->music) return;
  impl->music->play();
  setLooping(*impl->music, loop);
}

void MusicStream::stop() {
  if (impl->music) impl->music->stop();
}

}  // namespace platform
}  // namespace tw
