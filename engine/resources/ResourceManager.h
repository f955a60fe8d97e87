// Owns every sprite, sound and music of the game for the whole run, in three
// fixed tables filled in load order, and finds them again by label. Parsing a
// sprite file is left to SpriteParser; playing audio to Sound and Music.
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Manager.h"
#include "engine/resources/Music.h"
#include "engine/resources/Sound.h"

namespace tw {

class Sprite;

const int MAX_SPRITES = 1000;
const int MAX_SOUNDS = 100;
const int MAX_MUSICS = 50;

class TW_API ResourceManager : public Manager {
 public:
  static ResourceManager& getInstance();
  ~ResourceManager() override;

  int startUp() override;
  // Deletes every sprite and stops every sound and music.
  void shutDown() override;

  // Reads file_name (either sprite format) and stores the sprite under label.
  int loadSprite(std::string file_name, std::string label);
  // The first sprite loaded under label, or null. Valid until shut-down.
  Sprite* getSprite(std::string label) const;
  int loadSound(std::string file_name, std::string label);
  Sound* getSound(std::string label);
  // label must not be empty.
  int loadMusic(std::string file_name, std::string label);
  Music* getMusic(std::string label);

  // Parse one open sprite stream (line numbers count from its start); a new
  // sprite that the caller owns, or null. Refused while not started.
  Sprite* loadSimpleSprite(std::istream& in);
  Sprite* loadRobustSprite(std::istream& in);

  // Every file a sprite, sound or music was loaded from, each once, in load order.
  std::vector<std::string> getLoadedFiles() const;
  // Reads file_name again for every sprite, sound and music loaded from it,
  // each replaced in place (pointers stay valid). The number replaced, or -1
  // when one did not load: that one stays as it was and a notice says why.
  int reloadFile(const std::string& file_name);

  int getSpriteCount() const;
  int getSoundCount() const;
  int getMusicCount() const;

 private:
  ResourceManager();
  ResourceManager(const ResourceManager&) = delete;
  void operator=(const ResourceManager&) = delete;
  bool checkStarted() const;
  Sprite* parseSpriteFile(std::istream& in, const std::string& label,
                          const std::string& file_name);
  void dumpSprite(const Sprite& sprite, const std::string& label) const;
  int reloadSounds(const std::string& file_name);

  // The three tables; kept out of this header so that they may change
  // without changing the class's size or layout.
  struct Tables;
  std::unique_ptr<Tables> tables;
};

}  // namespace tw
