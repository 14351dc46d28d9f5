// The machine's local IP address as dotted-decimal text. Reading it sends no traffic.
#pragma once

#include <string>

namespace plumwick {

class LocalAddress {
 public:
  virtual ~LocalAddress() = default;
  virtual std::string LocalIP() = 0;
};

}  // namespace plumwick
