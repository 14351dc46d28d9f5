// A clipboard manager on the session's desktop, as desktops run one: Cinnamon's (csd-clipboard,
// from Debian's cinnamon-settings-daemon), on a session bus of its own. It keeps a clipboard's
// text after the program that owned it has ended only when that program handed it over (the
// freedesktop CLIPBOARD_MANAGER / SAVE_TARGETS protocol): it copies nothing on its own, so what
// it serves after the owner is gone proves the handover.
#pragma once

#include <memory>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_session.h"

namespace plumwick::e2e {

class ClipboardManager {
 public:
  // Returns once the manager owns the CLIPBOARD_MANAGER selection; throws std::runtime_error when
  // it is not installed or does not take it.
  explicit ClipboardManager(const DesktopSession& session);

  std::string Describe() { return process_->Describe(); }

 private:
  std::unique_ptr<ChildProcess> process_;
};

// Whether some window owns the selection named `selection` on the session's display.
bool SelectionOwned(const DesktopSession& session, const char* selection);

}  // namespace plumwick::e2e
