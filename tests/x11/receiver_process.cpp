// The receiver program running on the test desktop.
#include "tests/x11/receiver_process.h"

#include <sstream>
#include <stdexcept>

namespace plumwick::x11_test {

ReceiverProcess::ReceiverProcess(const TypingDesktop& desktop, const std::string& program,
                                 const std::string& title)
    : desktop_(desktop), process_(desktop.Start({program, title})) {
  const auto ready = process_->WaitForLine("^ready ", std::chrono::seconds(15));
  if (!ready) throw std::runtime_error("the receiver did not start\n" + process_->Describe());
  std::istringstream fields(ready->substr(6));
  fields >> window_ >> pid_;
  // "ready" comes before the window manager has mapped the window; activating it earlier fails.
  if (!desktop_.WaitUntilViewable(window_, std::chrono::seconds(15))) {
    throw std::runtime_error("the receiver's window was not mapped\n" + process_->Describe());
  }
}

void ReceiverProcess::Activate() const {
  desktop_.Activate(window_);
}

std::optional<TypedEntry> ReceiverProcess::NextEntry(std::chrono::milliseconds timeout) {
  const auto line = process_->WaitForLine("\x1f", timeout);
  if (!line) return std::nullopt;
  return ParseTypedEntry(*line);
}

}  // namespace plumwick::x11_test
