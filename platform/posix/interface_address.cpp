// The local address from the machine's network interfaces.
#include "platform/posix/interface_address.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/failure.h"

namespace plumwick {

std::string InterfaceAddress::LocalIP() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    throw Failure(error_code::kLocalAddress,
                  std::string("The network interfaces could not be read: ") + std::strerror(errno));
  }
  const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owned(list, &freeifaddrs);
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
    char text[INET_ADDRSTRLEN];
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
    if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) return text;
  }
  return "127.0.0.1";
}

}  // namespace plumwick
