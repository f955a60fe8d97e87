#include "engine/network/EventNetworkClose.h"

namespace tw {

EventNetworkClose::EventNetworkClose(int init_label) : EventNetwork(init_label) {
  setType(NETWORK_CLOSE_EVENT);
}

}  // namespace tw
