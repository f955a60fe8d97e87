#include "engine/resources/Music.h"

#include <utility>

#include <SFML/Audio/InputSoundFile.hpp>

#include "engine/core/LogManager.h"
#include "engine/platform/FileCheck.h"
#include "engine/platform/Sfml.h"

namespace tw {

Music::Music() : label("[Undefined]") {}

Music::~Music() = default;

int Music::loadMusic(std::string filename) {
  if (platform::isSpecialFile(filename)) return -1;  // the decoders would wait on it forever
  if (!platform::audioAvailable()) {
    sf::InputSoundFile file;
    return file.openFromFile(filename) ? 0 : -1;
  }
  if (!music) music = std::make_unique<sf::Music>();
  return platform::openMusicFromFile(*music, filename) ? 0 : -1;
}

void Music::setLabel(std::string new_label) { label = std::move(new_label); }

std::string Music::getLabel() const { return label; }

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
  if (!music) return;
  music->play();
  platform::setLooping(*music, loop);
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  if (music) music->stop();
}

}  // namespace tw
