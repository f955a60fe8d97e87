#include "engine/resources/Sound.h"

#include <utility>

#include "engine/core/LogManager.h"
#include "engine/platform/Audio.h"
#include "engine/platform/FileCheck.h"

namespace tw {

Sound::Sound() : clip(std::make_unique<platform::SoundClip>()), label("[Undefined]") {}

Sound::~Sound() = default;

int Sound::loadSound(std::string filename) {
  if (platform::isSpecialFile(filename)) return -1;  // the decoders would wait on it forever
  return clip->load(filename) ? 0 : -1;
}

void Sound::setLabel(std::string new_label) { label = std::move(new_label); }

std::string Sound::getLabel() const { return label; }

void Sound::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
  clip->play(loop);
}

void Sound::stop() { clip->stop(); }

}  // namespace tw
