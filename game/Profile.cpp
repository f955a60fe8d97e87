#include "game/Profile.h"

#include "engine/core/LogManager.h"
#include "engine/input/InputManager.h"
#include "engine/resources/Music.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/Sound.h"
#include "game/SaveFile.h"

namespace veld {

namespace {
const char* const BEST_FILE = "best-score";
const char* const MUTED_FILE = "muted";

bool replaying() { return tw::InputManager::getInstance().isReplaying(); }

tw::Music* music() { return tw::ResourceManager::getInstance().getMusic("music"); }
}  // namespace

Profile& Profile::get() {
  static Profile profile;
  return profile;
}

void Profile::load(const std::string& new_folder) {
  folder = new_folder;
  music_wanted = false;
  const SaveFile best_file(folder, BEST_FILE), muted_file(folder, MUTED_FILE);
  best_file.removeLeftovers();
  muted_file.removeLeftovers();
  int stored_best = 0;
  if (best_file.read(stored_best) != SaveFile::FOUND) stored_best = 0;
  int stored_muted = 0;
  if (muted_file.read(stored_muted) != SaveFile::FOUND) stored_muted = 0;
  tw::InputManager& input = tw::InputManager::getInstance();
  best = input.carryValue("veld.best", stored_best);
  muted = input.carryValue("veld.muted", stored_muted != 0 ? 1 : 0) != 0;
}

bool Profile::offerScore(int score) {
  if (score <= best) return false;
  best = score;
  if (!replaying()) keepBest(score);
  return true;
}

// Another copy of the game may have kept a higher score since this one read
// the file, and an unreadable file may hold one: neither is overwritten.
void Profile::keepBest(int score) const {
  const SaveFile file(folder, BEST_FILE);
  int stored = 0;
  const SaveFile::Status status = file.read(stored);
  if (status == SaveFile::UNREADABLE || (status == SaveFile::FOUND && stored >= score)) {
    tw::LogManager::getInstance().writeLog("Profile::offerScore(): Best score %d not kept.",
                                           score);
    return;
  }
  file.write(score);
}

void Profile::toggleMute() {
  muted = !muted;
  tw::LogManager::getInstance().writeLog(1, "Profile::toggleMute(): Sound %s.",
                                         muted ? "off" : "on");
  if (!replaying()) SaveFile(folder, MUTED_FILE).write(muted ? 1 : 0);
  tw::Music* p_music = music();
  if (p_music == nullptr) return;
  if (muted) {
    p_music->stop();
  } else if (music_wanted) {
    p_music->play(true);
  }
}

void Profile::startMusic() {
  music_wanted = true;
  tw::Music* p_music = music();
  if (p_music != nullptr && !muted) p_music->play(true);
}

void Profile::playSound(const char* label) const {
  if (muted) return;
  tw::Sound* p_sound = tw::ResourceManager::getInstance().getSound(label);
  if (p_sound != nullptr) p_sound->play(false);
}

}  // namespace veld
