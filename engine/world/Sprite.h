// A labelled, coloured sequence of equally sized frames with a playback speed
// and an optional transparent character. The resource manager owns sprites;
// animations and objects only borrow them.
#pragma once

#include <string>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Color.h"
#include "engine/world/Frame.h"
#include "engine/world/Vector.h"

namespace tw {

class TW_API Sprite {
 public:
  // max_frames is the fixed capacity. A negative capacity is refused with a
  // log line and the sprite then holds no frames at all.
  explicit Sprite(int max_frames);
  ~Sprite();
  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;

  // Stores the frame at the next free place; -1 when the sprite is full.
  int addFrame(Frame new_frame);
  // A copy of frame frame_number, or an empty frame when out of range.
  Frame getFrame(int frame_number) const;
  // Gives frame frame_number a colour per cell (Frame::setCellColors); -1
  // when out of range or the list does not fit the frame.
  int setCellColors(int frame_number, std::vector<CellColors> colors);
  int getFrameCount() const;
  int getMaxFrameCount() const;

  void setWidth(int new_width);
  int getWidth() const;
  void setHeight(int new_height);
  int getHeight() const;
  void setColor(Color new_color);
  Color getColor() const;
  void setSlowdown(int new_sprite_slowdown);
  int getSlowdown() const;
  // The transparent character as a char: ASCII only (a char beyond ASCII is
  // only part of a UTF-8 character and sets none). getTransparency gives 0
  // when the transparent character is beyond ASCII.
  void setTransparency(char new_transparency);
  char getTransparency() const;
  // Any transparent character (0: none).
  void setTransparentCharacter(char32_t new_transparency);
  char32_t getTransparentCharacter() const;
  void setLabel(std::string new_label);
  std::string getLabel() const;
  // Exchanges everything but the label with other, so that a sprite read
  // again from its file takes this one's place while pointers to it stay.
  void swapContents(Sprite& other);

  // Draws frame frame_number centred at position in the sprite's colour. An
  // out-of-range index draws nothing and returns 0.
  int draw(int frame_number, Vector position, char transparent) const;
  // The same with any transparent character (0: none).
  int drawSkipping(int frame_number, Vector position, char32_t transparent) const;

 private:
  int width;            // characters, the same for every frame
  int height;           // rows, the same for every frame
  int max_frame_count;  // capacity fixed at construction
  int frame_count;      // frames added so far
  Color color;          // every frame is drawn in it
  int slowdown;         // draws each frame stays on screen
  char32_t transparency;  // character not drawn; 0 draws every character
  // Grows only as frames arrive, never beyond max_frame_count, so that a huge
  // capacity read from an untrusted file costs nothing until real frames exist.
  std::vector<Frame> frames;
  std::string label;  // name the resource manager finds the sprite by
};

}  // namespace tw
