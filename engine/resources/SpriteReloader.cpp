#include "engine/resources/SpriteReloader.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

#include "engine/core/LogManager.h"
#include "engine/core/ObjectList.h"
#include "engine/core/ObjectListIterator.h"
#include "engine/platform/FileCheck.h"
#include "engine/resources/SpriteParser.h"
#include "engine/world/Object.h"
#include "engine/world/Sprite.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
// The box an object takes when it fits itself to the sprite.
Box boxOf(const Sprite& sprite) {
  Animation animation;
  animation.setSprite(const_cast<Sprite*>(&sprite));
  return animation.getBox();
}
}  // namespace

Sprite* SpriteReloader::parse(const std::string& file_name, const std::string& label) {
  const LogManager& log = LogManager::getInstance();
  std::ifstream file;
  if (!platform::isSpecialFile(file_name)) file.open(file_name);
  if (!file.is_open()) {
    log.writeLog("RM::reloadFile(): Warning! Cannot open file '%s'.", file_name.c_str());
    log.writeNotice("sprite file '%s' cannot be read; sprite '%s' kept as it was",
                    file_name.c_str(), label.c_str());
    return nullptr;
  }
  std::vector<SpriteProblem> problems;
  SpriteParser parser(file);
  parser.setProblemList(&problems);
  Sprite* sprite = parser.loadSprite();
  if (sprite != nullptr) return sprite;
  // The problem goes to the log each time and to the player's screen once.
  char where[32] = "";
  if (!problems.empty()) std::snprintf(where, sizeof where, ":%d", problems.front().line);
  const char* what = problems.empty() ? "no sprite in the file" : problems.front().text.c_str();
  log.writeLog("RM::reloadFile(): Warning! %s%s: %s; sprite '%s' kept as it was.",
               file_name.c_str(), where, what, label.c_str());
  log.writeNotice("%s%s: %s; sprite '%s' kept as it was", file_name.c_str(), where, what,
                  label.c_str());
  return nullptr;
}

int SpriteReloader::reload(Sprite& sprite, const std::string& file_name) {
  std::unique_ptr<Sprite> fresh(parse(file_name, sprite.getLabel()));
  if (!fresh) return -1;
  const Box old_box = boxOf(sprite);
  sprite.swapContents(*fresh);  // fresh now holds the old frames and goes
  refitObjects(sprite, old_box);
  LogManager::getInstance().writeLog("RM::reloadFile(): Sprite '%s' reloaded from '%s'.",
                                     sprite.getLabel().c_str(), file_name.c_str());
  return 0;
}

void SpriteReloader::refitObjects(const Sprite& sprite, const Box& old_box) {
  WorldManager& world = WorldManager::getInstance();
  if (!world.isStarted()) return;
  const Box new_box = boxOf(sprite);
  const ObjectList objects = world.getAllObjects(true);
  for (ObjectListIterator it(&objects); !it.isDone(); it.next()) {
    Object* p_o = it.currentObject();
    Animation animation = p_o->getAnimation();
    if (animation.getSprite() != &sprite) continue;
    if (animation.getIndex() >= sprite.getFrameCount()) {
      animation.setIndex(0);
      if (animation.getSlowdownCount() > 0) animation.setSlowdownCount(0);
    }
    p_o->setAnimation(animation, p_o->getBox() == old_box && old_box != new_box);
  }
}

}  // namespace tw
