// Polling with a deadline: the one way the harness waits for the desktop to reach a state.
#pragma once

#include <chrono>
#include <thread>

namespace plumwick::e2e {

// Calls `done` until it returns true or `timeout` has passed; returns its last answer. The
// timeout only keeps a broken run from hanging; it is no performance check.
template <typename Predicate>
bool WaitUntil(Predicate done, std::chrono::steady_clock::duration timeout,
               std::chrono::milliseconds interval = std::chrono::milliseconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(interval);
  }
}

}  // namespace plumwick::e2e
