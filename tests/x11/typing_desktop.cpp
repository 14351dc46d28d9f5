// A desktop to type on: the end-to-end harness's desktop session, on Xvfb with openbox or on a
// compositor's XWayland.
#include "tests/x11/typing_desktop.h"

#include <stdexcept>

#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::x11_test {
namespace {

e2e::DesktopKind SessionKind(const std::string& kind) {
  if (kind == "xvfb") return e2e::DesktopKind::kOpenbox;
  if (kind == "mutter") return e2e::DesktopKind::kMutterWayland;
  if (kind == "kwin") return e2e::DesktopKind::kKwinWayland;
  throw std::runtime_error("no desktop of kind \"" + kind + "\" (xvfb, mutter or kwin)");
}

class SessionDesktop final : public TypingDesktop {
 public:
  explicit SessionDesktop(std::string kind)
      : kind_(std::move(kind)), session_(SessionKind(kind_)), env_(session_.Env()) {
    // The clients under test are X clients, also in a Wayland session.
    env_.erase("WAYLAND_DISPLAY");
  }

  const std::string& Kind() const override { return kind_; }
  const std::string& Display() const override { return session_.Display(); }
  const e2e::Environment& Env() const override { return env_; }

 private:
  std::string kind_;
  e2e::DesktopSession session_;
  e2e::Environment env_;
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
  return std::make_unique<SessionDesktop>(kind);
}

}  // namespace plumwick::x11_test
