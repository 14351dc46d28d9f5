// The sandbox client's jobs of typing into its dialogs: the options dialog, which takes keys while
// it shows, and the add-contact dialog, which confirms like a real client's. The conversation's
// job is in sandbox_conversation_job.h. The client's windows live in the program's own process, so
// a window's id alone tells them from the program's window.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "clients/sandbox/sandbox_client.h"
#include "messenger/messenger.h"
#include "platform/event_pump.h"

namespace plumwick::sandbox {

// Asks for the job's window back after a click on the program's window during the job (a quick
// second click on its button, say) took the focus from it. From another program's window it is
// not: the user went there.
class BringBack {
 public:
  explicit BringBack(const EventWait& wait);
  void From(const DesktopWindow& focused, SandboxClient& client, JobWindow window,
            const std::string& contact);

 private:
  Throttle throttle_;
};

// Typing into one window of the client's: only that window takes the keys.
class WindowJob final : public messenger::TypingJob {
 public:
  WindowJob(std::shared_ptr<SandboxClient> client, const EventWait& wait, JobWindow window,
            std::string contact = {});

  void PrepareForKeys(const DesktopWindow& focused) override;
  bool TakesKeys(const DesktopWindow& window) override;
  void KeysTyped(const DesktopWindow& /*window*/, const KeySequence& /*keys*/) override {}

 private:
  std::shared_ptr<SandboxClient> client_;
  const JobWindow window_;
  const std::string contact_;
  BringBack back_;
};

// Confirms like a real client: after the dialog's Enter, the next keys wait until the dialog has
// added the contact, and fail with the client's reason when it refused; then they go to the
// notice that confirms it. A notice the user closed before the Enter meant for it comes back for
// that Enter, so a contact that was added is never reported as a failure.
class SandboxAddContactJob final : public messenger::TypingJob {
 public:
  // The job's steps, in order.
  enum class Step {
    kPressAdd,       // the dialog's Enter
    kDismissNotice,  // the Enter for the notice that the contact was added
  };

  SandboxAddContactJob(std::shared_ptr<SandboxClient> client, const EventWait& wait);

  void PrepareForKeys(const DesktopWindow& focused) override;
  // Until the dialog has added the contact, no window takes the keys after its Enter.
  bool TakesKeys(const DesktopWindow& window) override;
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;

 private:
  JobWindow Window() const;

  std::shared_ptr<SandboxClient> client_;
  const EventWait& wait_;
  Step step_ = Step::kPressAdd;
  Clock::TimePoint enter_typed_at_{};
  BringBack back_;
};

}  // namespace plumwick::sandbox
