// The sandbox client's jobs of typing into its dialogs.
#include "clients/sandbox/sandbox_jobs.h"

#include <utility>

#include "platform/failure.h"

namespace plumwick::sandbox {
namespace {

// How often the job's window is asked back while the program's window keeps the focus: the window
// manager needs a moment to act on each request.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long the add-contact dialog may take to handle the Enter typed into it, its own process's
// event loop running all along.
constexpr std::chrono::seconds kEnterHandledWithin{2};

}  // namespace

BringBack::BringBack(const EventWait& wait) : throttle_(wait, kBringBackEvery) {}

void BringBack::From(const DesktopWindow& focused, SandboxClient& client, JobWindow window,
                     const std::string& contact) {
  if (focused.own && throttle_.Due()) client.BringBack(window, contact);
}

WindowJob::WindowJob(std::shared_ptr<SandboxClient> client, const EventWait& wait, JobWindow window,
                     std::string contact)
    : client_(std::move(client)), window_(window), contact_(std::move(contact)), back_(wait) {}

void WindowJob::PrepareForKeys(const DesktopWindow& focused) {
  back_.From(focused, *client_, window_, contact_);
}

bool WindowJob::TakesKeys(const DesktopWindow& window) {
  return client_->ShowsJobWindow(window_, contact_, window.id);
}

SandboxAddContactJob::SandboxAddContactJob(std::shared_ptr<SandboxClient> client,
                                           const EventWait& wait)
    : client_(std::move(client)), wait_(wait), back_(wait) {}

void SandboxAddContactJob::PrepareForKeys(const DesktopWindow& focused) {
  // Without an outcome the dialog has not taken an Enter yet, or its Enter is on its way.
  if (const auto& outcome = client_->add_outcome()) {
    // Added or refused by an Enter of the user's, before the program's: the job goes on from
    // there.
    step_ = Step::kDismissNotice;
    if (outcome->refusal) {
      throw Failure(outcome->refusal->code(),
                    outcome->refusal->description() +
                        " (the add-contact dialog stays open: correct the address there, or "
                        "close it)");
    }
    client_->ShowAddedNotice();
  } else if (step_ == Step::kDismissNotice) {
    if (wait_.Now() - enter_typed_at_ < kEnterHandledWithin) return;
    throw Failure(error_code::kClientError,
                  "The contact was not added: the Enter typed into the add-contact dialog did "
                  "not reach its Add button. If the dialog is still open, press Add there");
  }
  back_.From(focused, *client_, Window(), {});
}

bool SandboxAddContactJob::TakesKeys(const DesktopWindow& window) {
  const auto& outcome = client_->add_outcome();
  if (step_ == Step::kDismissNotice && (!outcome || outcome->refusal)) return false;
  return client_->ShowsJobWindow(Window(), {}, window.id);
}

void SandboxAddContactJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  if (step_ != Step::kPressAdd || keys != OnePress(NamedKey::kEnter) ||
      !client_->ShowsJobWindow(JobWindow::kAddContactDialog, {}, window.id)) {
    return;
  }
  step_ = Step::kDismissNotice;
  enter_typed_at_ = wait_.Now();
}

JobWindow SandboxAddContactJob::Window() const {
  return step_ == Step::kPressAdd ? JobWindow::kAddContactDialog : JobWindow::kAddedNotice;
}

}  // namespace plumwick::sandbox
