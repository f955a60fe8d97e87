// The view event: sets (or adds to) the value of every view object whose view
// string equals the event's tag.
#pragma once

#include <string>

#include "engine/platform/Export.h"
#include "engine/core/Event.h"

namespace tw {

const std::string VIEW_EVENT = "tw-view";

class TW_API EventView : public Event {
 public:
  EventView();
  EventView(std::string new_tag, int new_value, bool new_delta);

  void setTag(std::string new_tag);
  std::string getTag() const;
  void setValue(int new_value);
  int getValue() const;
  void setDelta(bool new_delta);
  bool getDelta() const;

 private:
  std::string tag;  // view string of the view objects it is meant for
  int value;        // new value, or the amount to add
  bool delta;       // true: add value; false: replace
};

}  // namespace tw
