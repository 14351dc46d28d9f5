// The receiver program (receiver_main.cpp) running on the test desktop: a Qt window of another
// process for keys to arrive in.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tests/e2e/harness/child_process.h"
#include "tests/x11/typed_entry.h"
#include "tests/x11/typing_desktop.h"

namespace plumwick::x11_test {

class ReceiverProcess {
 public:
  // Starts it and waits until its window is mapped; throws std::runtime_error when it is not.
  ReceiverProcess(const TypingDesktop& desktop, const std::string& program,
                  const std::string& title);

  std::uint64_t Window() const { return window_; }
  std::int64_t Pid() const { return pid_; }

  // Gives its window the keyboard focus through the window manager, as a click would.
  void Activate() const;
  // The next line the window reports, or nullopt when none comes within `timeout`.
  std::optional<TypedEntry> NextEntry(std::chrono::milliseconds timeout);
  std::string Describe() { return process_->Describe(); }

 private:
  const TypingDesktop& desktop_;
  std::unique_ptr<e2e::ChildProcess> process_;
  std::uint64_t window_ = 0;
  std::int64_t pid_ = 0;
};

}  // namespace plumwick::x11_test
