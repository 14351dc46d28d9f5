// A clipboard manager on the session's desktop.
#include "tests/e2e/harness/clipboard_manager.h"

#include <X11/Xlib.h>

#include <filesystem>
#include <stdexcept>

#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

namespace {

constexpr const char* kManager = "/usr/lib/x86_64-linux-gnu/cinnamon-settings-daemon/csd-clipboard";

}  // namespace

bool SelectionOwned(const DesktopSession& session, const char* selection) {
  Display* display = XOpenDisplay(session.Display().c_str());
  if (display == nullptr) return false;
  const Window owner = XGetSelectionOwner(display, XInternAtom(display, selection, False));
  XCloseDisplay(display);
  return owner != None;
}

ClipboardManager::ClipboardManager(const DesktopSession& session) {
  if (!std::filesystem::exists(kManager)) {
    throw std::runtime_error(
        std::string(kManager) +
        " is missing: install cinnamon-settings-daemon (scripts/install-deps)");
  }
  Environment env = session.Env();
  // Its own session bus; no accessibility bus, which it would otherwise start there.
  env["NO_AT_BRIDGE"] = "1";
  env["GTK_A11Y"] = "none";
  process_ = std::make_unique<ChildProcess>(
      ProcessOptions{.argv = {"dbus-run-session", "--", kManager}, .env = std::move(env)});
  if (!WaitUntil([&] { return SelectionOwned(session, "CLIPBOARD_MANAGER"); },
                 std::chrono::seconds(10))) {
    throw std::runtime_error("the clipboard manager did not take CLIPBOARD_MANAGER\n" +
                             process_->Describe());
  }
}

}  // namespace plumwick::e2e
