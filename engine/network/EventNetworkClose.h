// The event the network manager sends to interested objects when it
// has closed a connection (label 2).
// It differs from EventNetwork only in its type string.
#pragma once

#include "engine/platform/Export.h"
#include "engine/network/EventNetwork.h"

namespace tw {

class TW_API EventNetworkClose : public EventNetwork {
 public:
  explicit EventNetworkClose(int init_label = NETWORK_CLOSE);
};

}  // namespace tw
