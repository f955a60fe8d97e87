#include "engine/resources/Music.h"

#include <utility>

#include "engine/core/LogManager.h"
#include "engine/platform/Audio.h"
#include "engine/platform/FileCheck.h"

namespace tw {

Music::Music() : stream(std::make_unique<platform::MusicStream>()), label("[Undefined]") {}

Music::~Music() = default;

int Music::loadMusic(std::string filename) {
  if (platform::isSpecialFile(filename)) return -1;  // the decoders would wait on it forever
  return stream->open(filename) ? 0 : -1;
}

void Music::setLabel(std::string new_label) { label = std::move(new_label); }

std::string Music::getLabel() const { return label; }

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
  stream->play(loop);
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  stream->stop();
}

}  // namespace tw
