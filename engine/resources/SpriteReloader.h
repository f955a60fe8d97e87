// Reads a sprite's file again and puts the new frames into the sprite the
// game already holds, so every object showing it draws them on its next frame.
// A file that does not parse leaves the sprite as it was and says why.
#pragma once

#include <string>

namespace tw {

class Box;
class Sprite;

class SpriteReloader {
 public:
  // Parses file_name; on success sprite takes the new content (its label and
  // address stay) and the objects showing it are fitted to it. 0, or -1 with
  // a notice naming the file and the line of the first problem.
  static int reload(Sprite& sprite, const std::string& file_name);

 private:
  static Sprite* parse(const std::string& file_name, const std::string& label);
  // Frame indices past the new frame count restart; boxes that were the old
  // sprite's size take the new size.
  static void refitObjects(const Sprite& sprite, const Box& old_box);
};

}  // namespace tw
