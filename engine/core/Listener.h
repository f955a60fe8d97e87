// What a manager hands events to: anything with an event handler, an active
// flag and an identity. Objects of the world are listeners; the managers in
// core see them only through this.
#pragma once

#include <string>

#include "engine/platform/Export.h"
#include "engine/core/Event.h"

namespace tw {

class TW_API Listener {
 public:
  virtual ~Listener() = default;
  // 1 when the event was handled, 0 otherwise.
  virtual int eventHandler(const Event* p_e) = 0;
  virtual bool isActive() const = 0;
  virtual int getId() const = 0;
  virtual std::string getType() const = 0;
};

}  // namespace tw
