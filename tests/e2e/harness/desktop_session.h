// A private desktop for one group of tests: Xvfb on a free display with a window manager on it
// (openbox unless another desktop is asked for), or a headless Wayland session's XWayland, and a
// PulseAudio server whose only sink is a null sink, with a home and runtime directory of its own.
// Nothing of the user's session (DISPLAY, HOME, sound server) is used or touched.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktops.h"
#include "tests/e2e/harness/private_dir.h"

namespace plumwick::e2e {

class DesktopSession {
 public:
  static constexpr int kScreenWidth = 1280;
  static constexpr int kScreenHeight = 1024;
  static constexpr const char* kSinkMonitor = "nullsink.monitor";
  static constexpr int kMonitorRate = 44100;

  // Starts the desktop and the sound server and waits until each is ready; throws
  // std::runtime_error (after stopping what had started) when one is not.
  explicit DesktopSession(DesktopKind kind = DesktopKind::kOpenbox);
  ~DesktopSession();

  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  DesktopKind Kind() const { return kind_; }
  const std::string& Display() const { return display_; }
  // The environment for programs on this desktop: DISPLAY, PULSE_SERVER, HOME, XDG_RUNTIME_DIR,
  // and the desktop's session variables. In a Wayland session also XAUTHORITY, WAYLAND_DISPLAY and
  // QT_QPA_PLATFORM=xcb: the programs under test are X clients there, as the ones they drive.
  const Environment& Env() const { return env_; }
  // Scratch space for screenshots and recordings; removed at teardown.
  const std::filesystem::path& ScratchDir() const { return scratch_; }
  // Everything played on the null sink since the start: raw mono s16le at 44100 Hz, written as
  // it is played. Read it through SoundRecorder.
  const std::filesystem::path& MonitorFile() const { return monitor_file_; }

  std::unique_ptr<ChildProcess> Start(std::vector<std::string> argv) const;

  // Ends the session's sound server, as a user or an update does, and waits until it has gone.
  void StopSound();
  // Starts the sound server (again, on the same socket) and the recording of its sink, which goes
  // on in the same file.
  void StartSound();

 private:
  void StartX();
  void StartWindowManager();
  void StartWaylandSession();

  DesktopKind kind_;
  PrivateDir dir_;
  std::filesystem::path scratch_;
  std::filesystem::path monitor_file_;
  Environment env_;
  std::string display_;
  std::unique_ptr<ChildProcess> xvfb_;
  // The window manager, or the Wayland compositor that is the display server too.
  std::unique_ptr<ChildProcess> window_manager_;
  std::unique_ptr<ChildProcess> pulse_;
  std::unique_ptr<ChildProcess> monitor_;
};

// The environment every test program starts from: PATH, a UTF-8 locale and sanitizer settings of
// the test run, with the given home. No DISPLAY, no sound server, no Qt platform choice.
Environment BaseEnvironment(const std::filesystem::path& home);

}  // namespace plumwick::e2e
