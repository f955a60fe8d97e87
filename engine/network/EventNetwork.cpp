#include "engine/network/EventNetwork.h"

#include "engine/core/LogManager.h"

namespace tw {

const std::string NETWORK_EVENT_TYPES[NETWORK_EVENT_TYPE_COUNT] = {
    NETWORK_EVENT,          KEYBOARD_NETWORK_EVENT, MOUSE_NETWORK_EVENT,
    NETWORK_ACCEPT_EVENT,   NETWORK_CLOSE_EVENT,    NETWORK_CONNECT_EVENT,
    NETWORK_CREATE_EVENT,   CUSTOM_NETWORK_EVENT,   NETWORK_DELETE_EVENT,
    NETWORK_GAME_OVER_EVENT, NETWORK_SYNC_EVENT};

bool isNetworkEventType(const std::string& event_type) {
  for (const std::string& type : NETWORK_EVENT_TYPES) {
    if (type == event_type) return true;
  }
  return false;
}

EventNetwork::EventNetwork(int init_label)
    : label(NETWORK_UNDEFINED), socket(-1), bytes(0), message(nullptr) {
  setType(NETWORK_EVENT);
  setLabel(init_label);
}

int EventNetwork::setLabel(int new_label) {
  if (new_label < NETWORK_UNDEFINED || new_label > NETWORK_LABEL_MAX) {
    LogManager::getInstance().writeLog("EventNetwork::setLabel(): Undefined type (%d).", new_label);
    label = NETWORK_UNDEFINED;
    return -1;
  }
  label = new_label;
  return 0;
}

int EventNetwork::getLabel() const { return label; }

void EventNetwork::setSocket(int new_socket) { socket = new_socket; }

int EventNetwork::getSocket() const { return socket; }

int EventNetwork::setBytes(int new_bytes) {
  if (new_bytes < 0) {
    LogManager::getInstance().writeLog("EventNetwork::setBytes(): Error! Negative size (%d).",
                                       new_bytes);
    return -1;
  }
  bytes = new_bytes;
  return 0;
}

int EventNetwork::getBytes() const { return bytes; }

void EventNetwork::setMessage(const void* new_message) { message = new_message; }

const void* EventNetwork::getMessage() const { return message; }

}  // namespace tw
