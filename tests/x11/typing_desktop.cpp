// A desktop to type on: Xvfb with openbox (the end-to-end harness's session) or a compositor's
// XWayland (xwayland_desktop.h).
#include "tests/x11/typing_desktop.h"

#include <stdexcept>

#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/x11/xwayland_desktop.h"

namespace plumwick::x11_test {
namespace {

class XvfbDesktop final : public TypingDesktop {
 public:
  const std::string& Kind() const override { return kind_; }
  const std::string& Display() const override { return session_.Display(); }
  const e2e::Environment& Env() const override { return session_.Env(); }

 private:
  std::string kind_ = "xvfb";
  e2e::DesktopSession session_;
};

}  // namespace

std::unique_ptr<e2e::ChildProcess> TypingDesktop::Start(std::vector<std::string> argv) const {
  return std::make_unique<e2e::ChildProcess>(
      e2e::ProcessOptions{.argv = std::move(argv), .env = Env()});
}

bool TypingDesktop::WaitUntilViewable(std::uint64_t window, e2e::Clock::duration timeout) const {
  return e2e::WaitUntil(
      [&] {
        const auto info = e2e::RunCommand({"xwininfo", "-id", std::to_string(window)}, Env());
        return info.Ok() && info.out.find("Map State: IsViewable") != std::string::npos;
      },
      timeout);
}

void TypingDesktop::Activate(std::uint64_t window, bool wait) const {
  const std::string id = std::to_string(window);
  if (!wait) {
    e2e::RunChecked({"xdotool", "windowactivate", id}, Env());
    return;
  }
  e2e::RunChecked({"xdotool", "windowactivate", "--sync", id}, Env());
  // A compositor names the window active before XWayland has moved the X input focus to it, and
  // keys go where the input focus is.
  const bool focused = e2e::WaitUntil(
      [&] {
        const auto focus = e2e::RunCommand({"xdotool", "getwindowfocus", "-f"}, Env());
        return focus.Ok() && focus.out == id + "\n";
      },
      std::chrono::seconds(5));
  if (!focused) throw std::runtime_error("window " + id + " did not get the input focus");
}

std::unique_ptr<TypingDesktop> StartTypingDesktop(const std::string& kind) {
  if (kind == "xvfb") return std::make_unique<XvfbDesktop>();
  if (kind == "mutter" || kind == "kwin") return std::make_unique<XWaylandDesktop>(kind);
  throw std::runtime_error("no desktop of kind \"" + kind + "\" (xvfb, mutter or kwin)");
}

}  // namespace plumwick::x11_test
