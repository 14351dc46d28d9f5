// The check that a rig with real servers runs where it can reach nothing and nothing can reach it:
// the network namespace that run_in_private_network.sh makes.
#pragma once

#include <string>

namespace plumwick::e2e {

// Empty when this process's network namespace has only the loopback interface, and it is up;
// otherwise why the tests must not run here: the servers, the messaging client and the peers
// would be reachable from, and reach for, other machines.
std::string PrivateNetworkProblem();

}  // namespace plumwick::e2e
