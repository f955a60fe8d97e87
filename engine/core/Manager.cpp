#include "engine/core/Manager.h"

#include "engine/core/LogManager.h"
#include "engine/core/LiveObjects.h"

#include <algorithm>

namespace tw {


Manager::Manager() : type("Manager"), event_count(0), is_started(false) {}

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
    if (std::find(obj_list[i].begin(), obj_list[i].end(), p_o) != obj_list[i].end()) {
      log.writeLog(1, "Manager::registerInterest(): Warning! Not adding id %d (%s) twice for event %s.",
                   p_o->getId(), p_o->getType().c_str(), event_type.c_str());
      return 0;
    }
    obj_list[i].push_back(p_o);
    return 0;
  }
  if (event_count == MAX_EVENTS) return -1;
  event[event_count] = event_type;
  obj_list[event_count].assign(1, p_o);
  event_count++;
  return 0;
}

int Manager::unregisterInterest(Listener* p_o, std::string event_type) {
  int i = findEvent(event_type);
  if (i < 0) return -1;
  // The most recently registered listener is the likeliest to leave first, and
  // a world being cleared removes its objects newest first: search from the back.
  auto found = std::find(obj_list[i].rbegin(), obj_list[i].rend(), p_o);
  if (found == obj_list[i].rend()) return -1;
  obj_list[i].erase(std::next(found).base());
  if (!obj_list[i].empty()) return 0;
  for (int j = i; j < event_count - 1; j++) {
    event[j] = event[j + 1];
    obj_list[j] = obj_list[j + 1];
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
    const std::vector<Listener*> listeners = obj_list[i];
    LiveSnapshot snapshot;
    for (Listener* p_o : listeners) snapshot.add(p_o, p_o->getId());
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

}  // namespace tw
