// A private desktop for one group of tests: Xvfb on a free display, the openbox window manager on
// it and a PulseAudio server whose only sink is a null sink.
#include "tests/e2e/harness/desktop_session.h"

#include <cstdlib>
#include <stdexcept>

#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(15);

[[noreturn]] void FailStart(const std::string& what, ChildProcess& process) {
  throw std::runtime_error(what + "\n" + process.Describe());
}

}  // namespace

Environment BaseEnvironment(const std::filesystem::path& home) {
  Environment env{{"HOME", home.string()}, {"LANG", "C.UTF-8"}, {"NO_AT_BRIDGE", "1"}};
  const char* path = std::getenv("PATH");
  env["PATH"] = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name)) env[name] = value;
  }
  return env;
}

DesktopSession::DesktopSession() {
  const auto home = dir_.MakeSubdir("home");
  const auto runtime = dir_.MakeSubdir("run");
  scratch_ = dir_.MakeSubdir("scratch");
  env_ = BaseEnvironment(home);
  env_["XDG_RUNTIME_DIR"] = runtime.string();
  // A bus address that leads nowhere, so no client autolaunches a session bus that would outlive
  // the session.
  env_["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + (runtime / "no-bus").string();
  StartX();
  StartWindowManager();
  StartSound();
  StartMonitor();
}

DesktopSession::~DesktopSession() {
  // Clients first, the X server last, so nothing reports a lost display on the way out.
  monitor_.reset();
  pulse_.reset();
  window_manager_.reset();
  xvfb_.reset();
}

void DesktopSession::StartX() {
  // -displayfd makes the server pick a free display number itself and print it once it accepts
  // connections: no race with other X servers on the machine.
  xvfb_ = std::make_unique<ChildProcess>(ProcessOptions{
      .argv = {"Xvfb", "-displayfd", "1", "-screen", "0",
               std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24",
               "-nolisten", "tcp", "-noreset"},
      .env = env_});
  const auto number = xvfb_->WaitForLine("^[0-9]+$", kStartTimeout);
  if (!number) FailStart("Xvfb did not report a display", *xvfb_);
  display_ = ":" + *number;
  env_["DISPLAY"] = display_;
}

void DesktopSession::StartWindowManager() {
  window_manager_ = Start({"openbox", "--sm-disable"});
  // The window manager owns the desktop once it has published its check window on the root.
  const bool managing = WaitUntil(
      [&] {
        if (!window_manager_->Running()) return true;
        const auto result = RunCommand({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, env_);
        return result.Ok() && result.out.find("window id #") != std::string::npos;
      },
      kStartTimeout);
  if (!managing || !window_manager_->Running()) {
    FailStart("openbox did not take the window manager role", *window_manager_);
  }
}

void DesktopSession::StartSound() {
  const std::string socket = env_.at("XDG_RUNTIME_DIR") + "/pulse/native";
  // In the foreground as our own child so teardown surely stops it; as root libpulse would not
  // start a server by itself. Anonymous access is safe: the socket lies in a 0700 directory.
  Environment env = env_;
  env.erase("DISPLAY");  // a sound server has no business on the display
  pulse_ = std::make_unique<ChildProcess>(
      ProcessOptions{.argv = {"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n",
                              "--use-pid-file=no", "--realtime=no", "--high-priority=no",
                              "--log-target=stderr", "--load=module-null-sink sink_name=nullsink",
                              "--load=module-native-protocol-unix auth-anonymous=1"},
                     .env = env});
  env_["PULSE_SERVER"] = "unix:" + socket;
  const bool ready = WaitUntil(
      [&] {
        if (!pulse_->Running()) return true;
        return RunCommand({"pactl", "info"}, env_).Ok();
      },
      kStartTimeout);
  if (!ready || !pulse_->Running()) FailStart("PulseAudio did not start", *pulse_);
}

void DesktopSession::StartMonitor() {
  // One recording for the whole session. An idle null sink works in blocks of two seconds and
  // hands a new recording its first samples only when the current block ends; recording all
  // along keeps it on short blocks, and each test takes its part of the one recording.
  monitor_file_ = scratch_ / "monitor.raw";
  monitor_ = std::make_unique<ChildProcess>(ProcessOptions{
      .argv = {"parec", "--device", kSinkMonitor, "--raw", "--format=s16le", "--channels=1",
               "--rate=" + std::to_string(kMonitorRate), "--latency-msec=20"},
      .env = env_,
      .stdout_file = monitor_file_});
}

std::unique_ptr<ChildProcess> DesktopSession::Start(std::vector<std::string> argv) const {
  return std::make_unique<ChildProcess>(ProcessOptions{.argv = std::move(argv), .env = env_});
}

}  // namespace plumwick::e2e
