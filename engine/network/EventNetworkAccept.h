// The event the network manager sends to interested objects when it
// has accepted a new connection (label 0).
// It differs from EventNetwork only in its type string.
#pragma once

#include "engine/platform/Export.h"
#include "engine/network/EventNetwork.h"

namespace tw {

class TW_API EventNetworkAccept : public EventNetwork {
 public:
  explicit EventNetworkAccept(int init_label = NETWORK_ACCEPT);
};

}  // namespace tw
