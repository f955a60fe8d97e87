// Base of every engine manager: type name, started flag and the table of
// event interests (which objects want which event type), plus dispatch.
#pragma once

#include <memory>
#include <string>

#include "engine/core/Event.h"
#include "engine/platform/Export.h"
#include "engine/core/Listener.h"

namespace tw {

class ListenerList;

const int MAX_EVENTS = 100;  // distinct event types per manager

class TW_API Manager {
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
  // The event types objects registered for here, in first-registration
  // order, and how many objects (active or not) each has; 0 for a type
  // nobody registered for.
  int getInterestCount() const;
  std::string getInterestType(int index) const;
  int getListenerCount(const std::string& event_type) const;

 protected:
  void setType(std::string new_type);

 private:
  int findEvent(const std::string& event_type) const;

  std::string type;
  int event_count;
  std::string event[MAX_EVENTS];
  std::unique_ptr<ListenerList[]> obj_list;  // MAX_EVENTS lists; the listeners are not owned
  bool is_started;
};

}  // namespace tw
