// A private desktop for one group of tests: Xvfb with a window manager or a Wayland session's
// XWayland, and a PulseAudio server whose only sink is a null sink.
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

DesktopSession::DesktopSession(DesktopKind kind) : kind_(kind) {
  const auto home = dir_.MakeSubdir("home");
  const auto runtime = dir_.MakeSubdir("run");
  scratch_ = dir_.MakeSubdir("scratch");
  env_ = BaseEnvironment(home);
  env_["XDG_RUNTIME_DIR"] = runtime.string();
  // A bus address that leads nowhere, so no client autolaunches a session bus that would outlive
  // the session.
  env_["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + (runtime / "no-bus").string();
  for (const auto& [name, value] : SessionVariables(kind_)) env_[name] = value;
  if (IsWaylandSession(kind_)) {
    StartWaylandSession();
  } else {
    StartX();
    StartWindowManager();
  }
  monitor_file_ = scratch_ / "monitor.raw";
  StartSound();
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
  window_manager_ = e2e::StartWindowManager(kind_, env_);
}

void DesktopSession::StartWaylandSession() {
  WaylandSession session = e2e::StartWaylandSession(kind_, env_, dir_.MakeSubdir("compositor"));
  window_manager_ = std::move(session.compositor);
  for (const auto& [name, value] : session.client_env) env_[name] = value;
  display_ = env_.at("DISPLAY");
  // The test's own connections to the display (its key counts) need the compositor's cookie too,
  // and Xlib reads it from the process's environment.
  if (const auto cookie = env_.find("XAUTHORITY"); cookie != env_.end()) {
    setenv("XAUTHORITY", cookie->second.c_str(), 1);
  }
  // Qt would take the Wayland session for its own; the programs are X clients.
  env_["QT_QPA_PLATFORM"] = "xcb";
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

  // One recording for the whole session, appended to after a restart. An idle null sink works in
  // blocks of two seconds and hands a new recording its first samples only when the current block
  // ends; recording all along keeps it on short blocks, and each test takes its part of the one
  // recording.
  monitor_ = std::make_unique<ChildProcess>(ProcessOptions{
      .argv = {"sh", "-c",
               std::string("exec parec --device ") + kSinkMonitor +
                   " --raw --format=s16le --channels=1 --rate=" + std::to_string(kMonitorRate) +
                   " --latency-msec=20 >> \"$0\"",
               monitor_file_.string()},
      .env = env_});
}

void DesktopSession::StopSound() {
  monitor_.reset();
  RunCommand({"pactl", "exit"}, env_);
  const bool gone = WaitUntil([&] { return !pulse_->Running(); }, kStartTimeout);
  if (!gone) throw std::runtime_error("PulseAudio did not end: " + pulse_->Describe());
  pulse_.reset();
}

std::unique_ptr<ChildProcess> DesktopSession::Start(std::vector<std::string> argv) const {
  return std::make_unique<ChildProcess>(ProcessOptions{.argv = std::move(argv), .env = env_});
}

}  // namespace plumwick::e2e
