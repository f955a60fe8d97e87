// The network event family: the type strings the network manager accepts
// interest in, and EventNetwork, which says what happened on which connection.
// The accept and close events derive from it (EventNetworkAccept/Close.h).
#pragma once

#include <string>

#include "engine/platform/Export.h"
#include "engine/core/Event.h"

namespace tw {

const std::string NETWORK_EVENT = "tw-network";
const std::string KEYBOARD_NETWORK_EVENT = "tw-keyboard-network";
const std::string MOUSE_NETWORK_EVENT = "tw-mouse-network";
const std::string NETWORK_ACCEPT_EVENT = "tw-network-accept";
const std::string NETWORK_CLOSE_EVENT = "tw-network-close";
const std::string NETWORK_CONNECT_EVENT = "tw-network-connect";
const std::string NETWORK_CREATE_EVENT = "tw-network-create";
const std::string CUSTOM_NETWORK_EVENT = "tw-custom-network";
const std::string NETWORK_DELETE_EVENT = "tw-network-delete";
const std::string NETWORK_GAME_OVER_EVENT = "tw-network-game-over";
const std::string NETWORK_SYNC_EVENT = "tw-network-sync";

const int NETWORK_EVENT_TYPE_COUNT = 11;
// Every type above, in the order the network manager lists them.
extern TW_API const std::string NETWORK_EVENT_TYPES[NETWORK_EVENT_TYPE_COUNT];
// True when event_type is one of the network family (exact, case-sensitive).
TW_API bool isNetworkEventType(const std::string& event_type);

// Labels: what happened. 1 and 3 are valid too but nothing raises them yet.
const int NETWORK_UNDEFINED = -1;
const int NETWORK_ACCEPT = 0;
const int NETWORK_CLOSE = 2;
const int NETWORK_LABEL_MAX = 3;

class TW_API EventNetwork : public Event {
 public:
  explicit EventNetwork(int init_label = NETWORK_UNDEFINED);

  // A label outside -1..3 is logged and stored as -1; returns 0 or -1.
  int setLabel(int new_label);
  int getLabel() const;
  void setSocket(int new_socket);
  int getSocket() const;
  // A negative size is logged and refused; returns 0 or -1.
  int setBytes(int new_bytes);
  int getBytes() const;
  // The message is not owned; it must outlive the event's dispatch.
  void setMessage(const void* new_message);
  const void* getMessage() const;

 private:
  int label;
  int socket;
  int bytes;
  const void* message;
};

}  // namespace tw
