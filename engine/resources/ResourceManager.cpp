#include "engine/resources/ResourceManager.h"

#include <fstream>
#include <utility>

#include "engine/core/LogManager.h"
#include "engine/core/NearestNames.h"
#include "engine/world/Object.h"
#include "engine/world/Sprite.h"
#include "engine/platform/FileCheck.h"
#include "engine/platform/Audio.h"
#include "engine/platform/Files.h"
#include "engine/resources/SpriteParser.h"
#include "engine/resources/SpriteReloader.h"

namespace tw {

namespace {

LogManager& logger() { return LogManager::getInstance(); }

// A directory or a device is treated like a file that cannot be opened.
bool openSpriteFile(const std::string& file_name, std::ifstream& file) {
  if (platform::isSpecialFile(file_name)) return false;
  file.open(file_name);
  return file.is_open();
}

// The folder a file name was looked for in: a relative name is taken from the
// working folder, which is what a developer most often has wrong.
std::string folderOf(const std::string& file_name) {
  const std::string full = platform::absolutePath(file_name);
  const std::size_t slash = full.find_last_of('/');
  return slash == std::string::npos ? "." : full.substr(0, slash == 0 ? 1 : slash);
}

// A file that did not load: the folder it was looked for in, in the log and,
// once, on standard error.
void noteMissingFile(const char* operation, const char* kind, const std::string& file_name) {
  const std::string folder = folderOf(file_name);
  logger().writeLog("RM::%s(): Note! '%s' was looked for in '%s'.", operation, file_name.c_str(),
                    folder.c_str());
  logger().writeNotice("%s file '%s' not loaded (looked for it in '%s')", kind, file_name.c_str(),
                       folder.c_str());
}

// Loaded labels named when a label is not found (the closest first).
const std::size_t LABELS_NAMED = 3;

// A label nobody loaded, asked for again and again (a spawner's every new
// object): said once while playing with the closest loaded labels, and
// written once to the log as "RM::OPERATION(): Warning! NOUN 'LABEL' not found.";
// repeats are counted on the problem list.
void noteUnknownLabel(const char* operation, const char* kind, const char* noun,
                      const std::string& label, const std::vector<std::string>& loaded) {
  const std::string known =
      loaded.empty() ? "none is loaded" : "loaded: " + joinNames(nearestNames(label, loaded, LABELS_NAMED));
  if (logger().writeNotice("no %s '%s'; %s", kind, label.c_str(), known.c_str())) {
    logger().writeLog("RM::%s(): Warning! %s '%s' not found.", operation, noun, label.c_str());
  }
}


// How a reload of one kind of audio is reported.
struct AudioKind {
  const char* name;     // "Sound"
  const char* lower;    // "sound"
  const char* failure;  // what a file that fails does
};

// Reloads every entry loaded from file_name; the count reloaded, or -1 when
// any kept its old contents (each said in the log and as a notice).
template <typename Item, typename Files, typename Reload>
int reloadEach(Item* items, const Files& files, int count, const std::string& file_name,
               Reload reload, const AudioKind& kind) {
  int reloaded = 0;
  bool failed = false;
  for (int i = 0; i < count; i++) {
    if (files[i] != file_name) continue;
    const bool ok = reload(items[i]) == 0;
    if (!ok) {
      logger().writeLog("RM::reloadFile(): Warning! %s '%s' kept as it was: '%s' %s.", kind.name,
                        items[i].getLabel().c_str(), file_name.c_str(), kind.failure);
      logger().writeNotice("%s file '%s' %s; %s '%s' kept as it was", kind.lower,
                           file_name.c_str(), kind.failure, kind.lower, items[i].getLabel().c_str());
    }
    failed = failed || !ok;
    reloaded += ok ? 1 : 0;
  }
  return failed ? -1 : reloaded;
}
}  // namespace

struct ResourceManager::Tables {
  Sprite* sprites[MAX_SPRITES] = {};  // owned; the first sprite_count are in use
  int sprite_count = 0;
  Sound sounds[MAX_SOUNDS];
  int sound_count = 0;
  Music musics[MAX_MUSICS];
  int music_count = 0;
  // The file each table entry was loaded from, for reloading.
  std::string sprite_files[MAX_SPRITES];
  std::string sound_files[MAX_SOUNDS];
  std::string music_files[MAX_MUSICS];
};

// Games linked against an earlier minor release hold this class by its size:
// a new table goes into Tables, never into the class itself.
static_assert(sizeof(ResourceManager) == sizeof(Manager) + sizeof(void*),
              "ResourceManager's fields belong in ResourceManager::Tables");

ResourceManager::ResourceManager() : tables(new Tables) {
  Object::setSpriteLookup([](const std::string& label) { return getInstance().getSprite(label); });
  setType("ResourceManager");
}

ResourceManager::~ResourceManager() {
  for (int i = 0; i < tables->sprite_count; i++) delete tables->sprites[i];
}

ResourceManager& ResourceManager::getInstance() {
  static ResourceManager instance;
  return instance;
}

int ResourceManager::startUp() {
  if (isStarted()) {
    logger().writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                   getType().c_str());
    return -1;
  }
  tables->sprite_count = 0;
  tables->sound_count = 0;
  tables->music_count = 0;
  Manager::startUp();
  logger().writeLog(5, "RM::startUp(): successfully started.");
  return 0;
}

void ResourceManager::shutDown() {
  for (int i = 0; i < tables->sprite_count; i++) {
    delete tables->sprites[i];
    tables->sprites[i] = nullptr;
  }
  tables->sprite_count = 0;
  for (int i = 0; i < tables->sound_count; i++) tables->sounds[i].stop();
  for (int i = 0; i < tables->music_count; i++) tables->musics[i].stop();
  platform::releaseAudio();
  Manager::shutDown();
  logger().writeLog(5, "RM::shutDown(): successfully stopped.");
}

bool ResourceManager::checkStarted() const {
  if (isStarted()) return true;
  logger().writeLog("%s not started!", getType().c_str());
  return false;
}

int ResourceManager::getSpriteCount() const { return tables->sprite_count; }

int ResourceManager::getSoundCount() const { return tables->sound_count; }

int ResourceManager::getMusicCount() const { return tables->music_count; }

Sprite* ResourceManager::loadSimpleSprite(std::istream& in) {
  if (!checkStarted()) return nullptr;
  SpriteParser parser(in);
  return parser.loadSimpleSprite();
}

Sprite* ResourceManager::loadRobustSprite(std::istream& in) {
  if (!checkStarted()) return nullptr;
  SpriteParser parser(in);
  return parser.loadRobustSprite();
}

Sprite* ResourceManager::parseSpriteFile(std::istream& in, const std::string& label,
                                         const std::string& file_name) {
  SpriteParser parser(in);
  parser.setFileName(file_name);
  Sprite* sprite = parser.loadSprite();
  if (sprite == nullptr) logger().writeLog("RM::loadSprite(): Sprite '%s' NOT loaded.", label.c_str());
  return sprite;
}

void ResourceManager::dumpSprite(const Sprite& sprite, const std::string& label) const {
  if (logger().getLogLevel() < 15) return;  // every line below is at level 15
  logger().writeLog(15, "RM::loadSprite(): Sprite '%s' frames:", label.c_str());
  const int width = sprite.getWidth();
  for (int f = 0; f < sprite.getFrameCount(); f++) {
    logger().writeLog(15, "\tFrame %d:", f + 1);
    const std::string rows = sprite.getFrame(f).getString();
    for (int y = 0; y < sprite.getHeight(); y++) {
      const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      logger().writeLog(15, "\t%s", rows.substr(at, static_cast<std::size_t>(width)).c_str());
    }
  }
}

int ResourceManager::loadSprite(std::string file_name, std::string label) {
  if (!checkStarted()) return -1;
  if (tables->sprite_count == MAX_SPRITES) {
    logger().writeLog("RM::loadRobustSprite(): Error! Cannot add more Sprites (max is %d).",
                   MAX_SPRITES);
    logger().writeLog("RM::loadRobustSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  logger().writeLog(1, "RM::loadSprite(): Loading sprite '%s'.", file_name.c_str());
  std::ifstream file;
  if (!openSpriteFile(file_name, file)) {
    logger().writeLog("RM::loadSprite(): Error! Cannot open file '%s'.", file_name.c_str());
    noteMissingFile("loadSprite", "sprite", file_name);
    logger().writeLog("RM::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  Sprite* sprite = parseSpriteFile(file, label, file_name);
  if (sprite == nullptr) {
    logger().writeNotice("sprite '%s' not loaded: '%s' has problems (tw-sprite check lists them)",
                         label.c_str(), file_name.c_str());
    return -1;
  }
  sprite->setLabel(label);
  tables->sprite_files[tables->sprite_count] = file_name;
  tables->sprites[tables->sprite_count++] = sprite;
  dumpSprite(*sprite, label);
  logger().writeLog(5, "RM::loadSprite(): Sprite '%s' loaded.", label.c_str());
  return 0;
}

Sprite* ResourceManager::getSprite(std::string label) const {
  logger().writeLog(5, "RM::getSprite(): Looking for sprite '%s'.", label.c_str());
  for (int i = 0; i < tables->sprite_count; i++) {
    Sprite* sprite = tables->sprites[i];
    if (sprite != nullptr && sprite->getLabel() == label) return sprite;
  }
  std::vector<std::string> loaded;
  for (int i = 0; i < tables->sprite_count; i++) {
    if (tables->sprites[i] != nullptr) loaded.push_back(tables->sprites[i]->getLabel());
  }
  noteUnknownLabel("getSprite", "sprite", "Sprite", label, loaded);
  return nullptr;
}

int ResourceManager::loadSound(std::string file_name, std::string label) {
  if (!checkStarted()) return -1;
  if (tables->sound_count == MAX_SOUNDS) {
    logger().writeLog("RM::loadSound(): Error! Unable to add more sounds (max is %d).", MAX_SOUNDS);
    return -1;
  }
  if (tables->sounds[tables->sound_count].loadSound(file_name) != 0) {
    logger().writeLog("RM::loadSound(): Error! Cannot load sound from file '%s'.", file_name.c_str());
    noteMissingFile("loadSound", "sound", file_name);
    return -1;
  }
  tables->sounds[tables->sound_count].setLabel(label);
  tables->sound_files[tables->sound_count] = file_name;
  logger().writeLog(1, "RM::loadSound(): Sound '%s' successfully loaded.", label.c_str());
  tables->sound_count++;
  return 0;
}

Sound* ResourceManager::getSound(std::string label) {
  logger().writeLog(5, "RM::getSound(): Looking for sound '%s'.", label.c_str());
  for (int i = 0; i < tables->sound_count; i++) {
    if (tables->sounds[i].getLabel() == label) return &tables->sounds[i];
  }
  std::vector<std::string> loaded;
  for (int i = 0; i < tables->sound_count; i++) loaded.push_back(tables->sounds[i].getLabel());
  noteUnknownLabel("getSound", "sound", "Sound", label, loaded);
  return nullptr;
}

int ResourceManager::loadMusic(std::string file_name, std::string label) {
  if (!checkStarted()) return -1;
  if (tables->music_count == MAX_MUSICS) {
    logger().writeLog("RM::loadMusic(): Error! Unable to add more musics (max is %d).", MAX_MUSICS);
    return -1;
  }
  if (label.empty()) {
    logger().writeLog("RM::loadMusic(): Error! Must provide label for music.");
    return -1;
  }
  if (tables->musics[tables->music_count].loadMusic(file_name) != 0) {
    logger().writeLog("RM::loadmusic(): Error! Cannot load music from file '%s'.", file_name.c_str());
    noteMissingFile("loadMusic", "music", file_name);
    return -1;
  }
  tables->musics[tables->music_count].setLabel(label);
  tables->music_files[tables->music_count] = file_name;
  logger().writeLog(1, "RM::loadMusic(): Music '%s' successfully loaded.", label.c_str());
  tables->music_count++;
  return 0;
}

Music* ResourceManager::getMusic(std::string label) {
  logger().writeLog(5, "RM::getMusic(): Looking for music '%s'.", label.c_str());
  for (int i = 0; i < tables->music_count; i++) {
    if (tables->musics[i].getLabel() == label) return &tables->musics[i];
  }
  std::vector<std::string> loaded;
  for (int i = 0; i < tables->music_count; i++) loaded.push_back(tables->musics[i].getLabel());
  noteUnknownLabel("getMusic", "music", "Music", label, loaded);
  return nullptr;
}

std::vector<std::string> ResourceManager::getLoadedFiles() const {
  std::vector<std::string> files;
  const auto add = [&files](const std::string& file) {
    for (const std::string& known : files) {
      if (known == file) return;
    }
    files.push_back(file);
  };
  for (int i = 0; i < tables->sprite_count; i++) add(tables->sprite_files[i]);
  for (int i = 0; i < tables->sound_count; i++) add(tables->sound_files[i]);
  for (int i = 0; i < tables->music_count; i++) add(tables->music_files[i]);
  return files;
}

// Sounds and music take the new file from their next play.
int ResourceManager::reloadSounds(const std::string& file_name) {
  Tables& t = *tables;
  const int sounds_reloaded = reloadEach(t.sounds, t.sound_files, t.sound_count, file_name,
                                         [&](Sound& sound) { return sound.loadSound(file_name); },
                                         AudioKind{"Sound", "sound", "does not decode"});
  const int music_reloaded = reloadEach(t.musics, t.music_files, t.music_count, file_name,
                                        [&](Music& music) { return music.reloadMusic(file_name); },
                                        AudioKind{"Music", "music", "does not open"});
  return sounds_reloaded < 0 || music_reloaded < 0 ? -1 : sounds_reloaded + music_reloaded;
}

int ResourceManager::reloadFile(const std::string& file_name) {
  if (!checkStarted()) return -1;
  int reloaded = 0;
  bool failed = false;
  for (int i = 0; i < tables->sprite_count; i++) {
    if (tables->sprite_files[i] != file_name) continue;
    const bool ok = SpriteReloader::reload(*tables->sprites[i], file_name) == 0;
    failed = failed || !ok;
    reloaded += ok ? 1 : 0;
  }
  const int sounds_reloaded = reloadSounds(file_name);
  if (failed || sounds_reloaded < 0) return -1;
  return reloaded + sounds_reloaded;
}

}  // namespace tw
