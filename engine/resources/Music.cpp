#include "engine/resources/Music.h"

#include <utility>

#include "engine/core/LogManager.h"
#include "engine/platform/Audio.h"
#include "engine/platform/FileCheck.h"

namespace tw {

Music::Music()
    : stream(std::make_unique<platform::MusicStream>()), label("[Undefined]"), looping(false) {}

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
  looping = loop;
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  stream->stop();
  looping = false;
}

int Music::reloadMusic(std::string filename) {
  // A file that does not open is found before the playing stream is touched.
  if (platform::isSpecialFile(filename) || !platform::MusicStream().open(filename)) return -1;
  const bool was_looping = looping;
  stop();
  if (loadMusic(filename) != 0) return -1;
  if (was_looping) play(true);
  return 0;
}

}  // namespace tw
