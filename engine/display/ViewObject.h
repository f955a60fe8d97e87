// An object fixed to the screen: a label and an integer value drawn centred on
// one of nine screen locations, optionally framed. Its position is a view
// (screen) position, so it stays put whatever the view does.
#pragma once

#include <iosfwd>
#include <string>

#include "engine/platform/Export.h"
#include "engine/core/Color.h"
#include "engine/world/Object.h"

namespace tw {

enum Location : int {
  UNDEFINED_LOCATION = -1,
  TOP_LEFT = 0,
  TOP_CENTER,
  TOP_RIGHT,
  CENTER_LEFT,
  CENTER_CENTER,
  CENTER_RIGHT,
  BOTTOM_LEFT,
  BOTTOM_CENTER,
  BOTTOM_RIGHT,
};

// Modified-attribute bits that view objects add to an object's mask.
enum ViewObjectAttribute : unsigned int {
  VALUE = 0x40000,
  APPEARANCE = 0x80000,
};

class TW_API ViewObject : public Object {
 public:
  ViewObject();
  ~ViewObject() override;

  // Placing by position forgets the location (it becomes -1).
  void setPosition(Vector new_position) override;
  int eventHandler(const Event* p_e) override;
  int draw() override;
  // The object's record followed by VALUE (the value) and APPEARANCE (view
  // string, border, colour, location number, draw value) when selected.
  int serialize(std::stringstream* p_ss, unsigned int attr = 0) override;
  // Reads the whole record before applying any of it; the view fields go
  // through the setters, which mark VALUE and APPEARANCE again on a change.
  int deserialize(std::stringstream* p_ss, unsigned int* p_mask = nullptr) override;
  bool isViewObject() const override { return true; }

  virtual void setLocation(int new_location);
  virtual void setDrawValue(bool new_draw_value = true);
  virtual void setValue(int new_value);
  virtual void setBorder(bool new_border);
  virtual void setColor(Color new_color);
  // UTF-8 text; the border fits its length in characters.
  virtual void setViewString(std::string new_view_string);

  int getLocation() const;
  // "top-left" ... "bot-right", or "unknown".
  std::string getLocationName() const;
  bool getDrawValue() const;
  int getValue() const;
  bool getBorder() const;
  Color getColor() const;
  std::string getViewString() const;
  // The text draw() writes: label and value with the blanks the border wants.
  std::string getDisplayString() const;

 private:
  void markAppearance();

  std::string view_string;
  int value;
  bool draw_value;
  bool border;
  Color color;
  int location;  // a Location, or -1 when placed by position
};

// The text form of a location value ("top-left" ... "bot-right", else "unknown").
TW_API std::string locationName(int location);

}  // namespace tw
