// The receiver program running on the test desktop.
#include "tests/x11/receiver_process.h"

#include <sstream>
#include <stdexcept>

#include "tests/e2e/harness/desktop_user.h"

namespace plumwick::x11_test {

ReceiverProcess::ReceiverProcess(const e2e::DesktopSession& session, const std::string& program,
                                 const std::string& title)
    : session_(session), process_(session.Start({program, title})) {
  const auto ready = process_->WaitForLine("^ready ", std::chrono::seconds(15));
  if (!ready) throw std::runtime_error("the receiver did not start\n" + process_->Describe());
  std::istringstream fields(ready->substr(6));
  fields >> window_ >> pid_;
  // "ready" comes before the window manager has mapped the window; activating it earlier fails.
  if (!e2e::DesktopUser(session_).WaitForWindow(title, std::chrono::seconds(15))) {
    throw std::runtime_error("the receiver's window was not mapped\n" + process_->Describe());
  }
}

void ReceiverProcess::Activate() const {
  e2e::DesktopUser(session_).Activate(window_);
}

std::optional<TypedEntry> ReceiverProcess::NextEntry(std::chrono::milliseconds timeout) {
  const auto line = process_->WaitForLine("\x1f", timeout);
  if (!line) return std::nullopt;
  return ParseTypedEntry(*line);
}

}  // namespace plumwick::x11_test
