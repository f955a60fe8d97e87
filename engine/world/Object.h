// The base class of everything that lives in the world: identity, type and the
// event handler. It also keeps the process-wide registry of live objects, which
// event dispatch uses to skip objects destroyed in the middle of a dispatch.
#pragma once

#include <string>

#include "engine/core/Event.h"

namespace tw {

class Object {
 public:
  Object();
  virtual ~Object();

  virtual void setType(std::string new_type);
  // Returns 1 when the event was handled, 0 when ignored.
  virtual int eventHandler(const Event* p_e);

  int getId() const;
  std::string getType() const;
  bool isActive() const;
  virtual int setActive(bool active);

  // True while an object with this address and id exists.
  static bool isAlive(const Object* p_o, int id);
  // How many objects have been destroyed since the program started.
  static unsigned long getDestructionCount();

 private:
  int id;
  std::string type;
  bool is_active;
};

}  // namespace tw
