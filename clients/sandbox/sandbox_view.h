// What the running sandbox client tells the windows that show it. Toolkit-free, so the client and
// its tests build without a desktop; the Qt windows implement it.
#pragma once

#include <cstdint>
#include <string>

namespace plumwick::sandbox {

// Called after each change, once the change is made and its effect line printed. A view only
// reads the client here; it never calls back into an operation that changes it.
class SandboxView {
 public:
  virtual ~SandboxView() = default;
  virtual void StatusChanged(std::int32_t status) = 0;
  // A contact was added or removed.
  virtual void ContactsChanged() = 0;
  virtual void DisplayNameChanged(const std::string& display_name) = 0;
  virtual void SignedOut() = 0;
  // A conversation with the contact was asked for: show it and give it the keyboard focus.
  virtual void OpenConversation(const std::string& signin_name) = 0;
};

}  // namespace plumwick::sandbox
