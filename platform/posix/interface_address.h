// The local address from the machine's network interfaces: the first one that is up, not loopback
// and IPv4; 127.0.0.1 when there is none.
#pragma once

#include "platform/local_address.h"

namespace plumwick {

class InterfaceAddress final : public LocalAddress {
 public:
  std::string LocalIP() override;
};

}  // namespace plumwick
