#include "engine/resources/Sound.h"

#include <utility>

#include <SFML/Audio/InputSoundFile.hpp>

#include "engine/core/LogManager.h"
#include "engine/platform/FileCheck.h"
#include "engine/platform/Sfml.h"

namespace tw {

Sound::Sound() : label("[Undefined]") {}

Sound::~Sound() {
  sound.reset();  // the player goes before the buffer it refers to
  sound_buffer.reset();
}

int Sound::loadSound(std::string filename) {
  if (platform::isSpecialFile(filename)) return -1;  // the decoders would wait on it forever
  if (!platform::audioAvailable()) {
    // Nothing can be played, but a bad file is still refused as it would be.
    sf::InputSoundFile file;
    return file.openFromFile(filename) ? 0 : -1;
  }
  if (!sound_buffer) sound_buffer = std::make_unique<sf::SoundBuffer>();
  if (!platform::loadSoundBuffer(*sound_buffer, filename)) return -1;
  if (sound) {
    sound->setBuffer(*sound_buffer);
  } else {
    sound = std::make_unique<sf::Sound>(*sound_buffer);
  }
  return 0;
}

void Sound::setLabel(std::string new_label) { label = std::move(new_label); }

std::string Sound::getLabel() const { return label; }

void Sound::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
  if (!sound) return;
  sound->play();
  platform::setLooping(*sound, loop);
}

void Sound::stop() {
  if (sound) sound->stop();
}

}  // namespace tw
