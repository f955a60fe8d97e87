// The base of every engine event: nothing but its type string.
// Concrete events (step, keyboard, collision, ...) derive from it and add a
// payload; as<T>() and eventCast<T>() reach that payload without a blind cast.
#pragma once

#include "engine/platform/Export.h"

#include <string>

namespace tw {

const std::string UNDEFINED_EVENT = "tw-undefined";

class TW_API Event {
 public:
  Event();
  virtual ~Event();

  void setType(std::string new_type);
  std::string getType() const;

  // This event as the class T (as<EventKeyboard>() ...), or null when it is
  // of another class: a handler checks the result rather than trusting a cast.
  template <class T>
  const T* as() const {
    return dynamic_cast<const T*>(this);
  }
  template <class T>
  T* as() {
    return dynamic_cast<T*>(this);
  }

 private:
  std::string event_type;
};

// The event as the class T; null for a null event or one of another class.
template <class T>
const T* eventCast(const Event* p_event) {
  return p_event != nullptr ? p_event->as<T>() : nullptr;
}

}  // namespace tw
