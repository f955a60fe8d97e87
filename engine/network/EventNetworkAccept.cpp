#include "engine/network/EventNetworkAccept.h"

namespace tw {

EventNetworkAccept::EventNetworkAccept(int init_label) : EventNetwork(init_label) {
  setType(NETWORK_ACCEPT_EVENT);
}

}  // namespace tw
