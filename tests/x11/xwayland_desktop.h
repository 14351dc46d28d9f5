// A Wayland compositor running headless, mutter or KWin, with the XWayland it starts for X
// clients: the desktop X programs meet in a Wayland session. The compositor's own session bus,
// home and runtime directory are private; nothing of the user's session is used.
#pragma once

#include <memory>
#include <string>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/x11/typing_desktop.h"

namespace plumwick::x11_test {

class XWaylandDesktop final : public TypingDesktop {
 public:
  static constexpr int kScreenWidth = 1280;
  static constexpr int kScreenHeight = 1024;

  // `kind` is "mutter" or "kwin". Returns once XWayland takes clients and the compositor manages
  // their windows; throws std::runtime_error otherwise.
  explicit XWaylandDesktop(std::string kind);
  ~XWaylandDesktop() override;

  const std::string& Kind() const override { return kind_; }
  const std::string& Display() const override { return display_; }
  const e2e::Environment& Env() const override { return env_; }

 private:
  void StartMutter();
  void StartKwin();
  void WaitUntilManaged();

  std::string kind_;
  e2e::PrivateDir dir_;
  e2e::Environment compositor_env_;
  e2e::Environment env_;
  std::string display_;
  std::unique_ptr<e2e::ChildProcess> compositor_;
};

}  // namespace plumwick::x11_test
