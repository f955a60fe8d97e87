// Base of every engine manager: type name, started flag and the table of
// event interests (which objects want which event type), plus dispatch.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Event.h"
#include "engine/core/Listener.h"
#include "engine/core/ListenerList.h"

namespace tw {

const int MAX_EVENTS = 100;  // distinct event types per manager

class Manager {
 public:
  Manager();
  virtual bool isValid(std::string event_type) const;
  virtual ~Manager();
  virtual int startUp();
  virtual void shutDown();

  std::string getType() const;
  bool isStarted() const;

  // Hands the event to every active object registered for its type, in
  // registration order, over a copy of the list taken before any handler runs.
  // Returns how many objects received it.
  int onEvent(const Event* p_event) const;
  int registerInterest(Listener* p_o, std::string event_type);
  int unregisterInterest(Listener* p_o, std::string event_type);

 protected:
  void setType(std::string new_type);

 private:
  int findEvent(const std::string& event_type) const;

  std::string type;
  int event_count;
  std::string event[MAX_EVENTS];
  ListenerList obj_list[MAX_EVENTS];  // not owned
  bool is_started;
};

}  // namespace tw
