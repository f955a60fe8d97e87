// One object's playback state over a sprite: which frame is shown next and how
// many draws it has had. The sprite itself is borrowed from the resource manager.
#pragma once

#include <iosfwd>
#include <string>

#include "engine/platform/Export.h"
#include "engine/world/Box.h"
#include "engine/world/Vector.h"

namespace tw {

class Sprite;

class TW_API Animation {
 public:
  Animation();

  // Stores the sprite, takes its label as the name (a null sprite keeps the
  // name) and restarts at frame 0.
  void setSprite(Sprite* new_sprite);
  Sprite* getSprite() const;
  void setName(std::string new_name);
  std::string getName() const;
  void setIndex(int new_index);
  int getIndex() const;
  // -1 freezes the animation on its current frame.
  void setSlowdownCount(int new_slowdown_count);
  int getSlowdownCount() const;

  // Draws the current frame centred at position, then advances (unless
  // animations are held).
  int draw(Vector position);
  // While held, every animation draws its current frame without advancing
  // (the game loop holds them while the game is paused).
  static void setHeld(bool new_held);
  static bool isHeld();
  // The box that fits the sprite, relative to the object's position.
  Box getBox() const;
  std::string toString() const;

  // Writes the sprite's name, the frame index and the slowdown count; the
  // sprite itself is found again by name by whoever reads it.
  int serialize(std::stringstream* p_ss) const;
  // Reads name, frame index and slowdown count and drops the sprite. A short
  // or corrupt record leaves the animation as it was.
  int deserialize(std::stringstream* p_ss);

 private:
  Sprite* sprite;      // not owned
  int index;           // frame shown next
  int slowdown_count;  // draws of the current frame so far; -1 frozen
  std::string name;    // the sprite's label
  static bool held;
};

}  // namespace tw
