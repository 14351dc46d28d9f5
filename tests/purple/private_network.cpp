// The check that a rig with real servers runs in a private network namespace.
#include "tests/purple/private_network.h"

#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace plumwick::e2e {

std::string PrivateNetworkProblem() {
  // Both asked of the kernel for this process's own namespace (/sys would show the namespace of
  // whoever mounted it).
  std::vector<std::string> interfaces;
  if (struct if_nameindex* list = if_nameindex()) {
    for (const struct if_nameindex* entry = list; entry->if_index != 0; ++entry) {
      interfaces.push_back(entry->if_name);
    }
    if_freenameindex(list);
  }
  if (interfaces != std::vector<std::string>{"lo"}) {
    std::string names;
    for (const auto& name : interfaces) names += " " + name;
    return "the network namespace has other interfaces than lo:" + names +
           " (run the test through ctest, whose command starts it in a private namespace)";
  }
  const int probe = socket(AF_INET, SOCK_DGRAM, 0);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  const bool up =
      probe >= 0 && ioctl(probe, SIOCGIFFLAGS, &request) == 0 && (request.ifr_flags & IFF_UP) != 0;
  if (probe >= 0) close(probe);
  if (!up) return "the loopback interface is not up";
  return "";
}

}  // namespace plumwick::e2e
