#include "engine/core/Manager.h"

#include "engine/core/LogManager.h"
#include "engine/core/ListenerList.h"
#include "engine/core/LiveSnapshot.h"

#include <utility>

namespace tw {

Manager::Manager()
    : type("Manager"), event_count(0), obj_list(new ListenerList[MAX_EVENTS]), is_started(false) {}

Manager::~Manager() = default;

bool Manager::isValid(std::string) const { return false; }

int Manager::startUp() {
  if (is_started) {
    LogManager::getInstance().writeLog(1, "Manager::startUp(): Warning! %s already started.",
                                       type.c_str());
  }
  is_started = true;
  return 0;
}

void Manager::shutDown() {
  if (!is_started) {
    LogManager::getInstance().writeLog(1, "Manager::shutDown(): Warning! %s not started.",
                                       type.c_str());
  }
  is_started = false;
}

std::string Manager::getType() const { return type; }

void Manager::setType(std::string new_type) { type = std::move(new_type); }

bool Manager::isStarted() const { return is_started; }

int Manager::findEvent(const std::string& event_type) const {
  for (int i = 0; i < event_count; i++) {
    if (event[i] == event_type) return i;
  }
  return -1;
}

int Manager::registerInterest(Listener* p_o, std::string event_type) {
  LogManager& log = LogManager::getInstance();
  if (!isValid(event_type)) {
    log.writeLog("Manager(%s)::registerInterest(): Event '%s' not valid for this Manager",
                 type.c_str(), event_type.c_str());
    return -1;
  }
  int i = findEvent(event_type);
  if (i >= 0) {
    if (!obj_list[i].add(p_o)) {
      log.writeLog(1, "Manager::registerInterest(): Warning! Not adding id %d (%s) twice for event %s.",
                   p_o->getId(), p_o->getType().c_str(), event_type.c_str());
      return 0;
    }
    return 0;
  }
  if (event_count == MAX_EVENTS) return -1;
  event[event_count] = event_type;
  obj_list[event_count] = ListenerList();
  obj_list[event_count].add(p_o);
  event_count++;
  return 0;
}

int Manager::unregisterInterest(Listener* p_o, std::string event_type) {
  int i = findEvent(event_type);
  if (i < 0) return -1;
  if (!obj_list[i].remove(p_o)) return -1;
  if (!obj_list[i].empty()) return 0;
  for (int j = i; j < event_count - 1; j++) {
    event[j] = event[j + 1];
    obj_list[j] = std::move(obj_list[j + 1]);
  }
  event_count--;
  return 0;
}

int Manager::onEvent(const Event* p_event) const {
  LogManager& log = LogManager::getInstance();
  const std::string event_type = p_event->getType();
  if (event_type == UNDEFINED_EVENT) {
    log.writeLog(1, "Manager(%s)::onEvent(): Warning! Event type %s is undefined.", type.c_str(),
                 event_type.c_str());
    return 0;
  }
  if (!isValid(event_type)) {
    log.writeLog(1, "Manager(%s)::onEvent(): Error! Event type %s not valid.", type.c_str(),
                 event_type.c_str());
    return 0;
  }
  int count = 0;
  for (int i = 0; i < event_count; i++) {
    if (event[i] != event_type) continue;
    const std::vector<Listener*> listeners = obj_list[i].members();
    LiveSnapshot snapshot;
    snapshot.reserve(listeners.size());
    for (Listener* p_o : listeners) snapshot.add(p_o);
    for (std::size_t j = 0; j < listeners.size(); j++) {
      Listener* p_o = listeners[j];
      // A handler may have destroyed a later listener (the world shut down from
      // inside a handler, say): such an object is skipped, never touched.
      if (!snapshot.stillAlive(j)) continue;
      if (!p_o->isActive()) continue;
      p_o->eventHandler(p_event);
      count++;
    }
  }
  return count;
}

int Manager::getInterestCount() const { return event_count; }

std::string Manager::getInterestType(int index) const {
  return index >= 0 && index < event_count ? event[index] : std::string();
}

int Manager::getListenerCount(const std::string& event_type) const {
  const int i = findEvent(event_type);
  return i < 0 ? 0 : static_cast<int>(obj_list[i].size());
}

}  // namespace tw
