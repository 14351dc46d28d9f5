// A headless Wayland compositor with its XWayland.
#include "tests/x11/xwayland_desktop.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::x11_test {
namespace {

namespace fs = std::filesystem;

constexpr auto kStartTimeout = std::chrono::seconds(20);
constexpr const char* kWaylandSocket = "wayland-plumwick";

// Both compositors refuse to start XWayland unless the X socket directory is writable by all and
// sticky, as a booted system makes it. An X server started as root in this container (Xvfb by an
// earlier test) may have created it without those bits.
void EnsureX11SocketDir() {
  const char* dir = "/tmp/.X11-unix";
  struct stat info {};
  if (lstat(dir, &info) != 0) return;  // the compositor makes it
  const mode_t wanted = S_ISVTX | S_IRWXU | S_IRWXG | S_IRWXO;
  if ((info.st_mode & wanted) == wanted) return;
  if (info.st_uid != geteuid() || chmod(dir, wanted) != 0) {
    throw std::runtime_error(std::string(dir) +
                             " is not writable by all and sticky, so XWayland cannot start");
  }
}

fs::path FindOnPath(const std::string& program, const e2e::Environment& env) {
  std::istringstream path(env.at("PATH"));
  for (std::string dir; std::getline(path, dir, ':');) {
    const fs::path candidate = fs::path(dir) / program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  throw std::runtime_error(program + " is not installed");
}

// "exec 2>&1" first: the compositors report the X display on standard error.
std::vector<std::string> WithErrorsOnOutput(std::vector<std::string> argv) {
  argv.insert(argv.begin(), {"sh", "-c", "exec 2>&1; exec \"$@\"", "sh"});
  return argv;
}

}  // namespace

XWaylandDesktop::XWaylandDesktop(std::string kind) : kind_(std::move(kind)) {
  const auto home = dir_.MakeSubdir("home");
  const auto runtime = dir_.MakeSubdir("run");
  compositor_env_ = e2e::BaseEnvironment(home);
  compositor_env_["XDG_RUNTIME_DIR"] = runtime.string();
  env_ = compositor_env_;
  // A bus address that leads nowhere, so no X client autolaunches a session bus.
  env_["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + (runtime / "no-bus").string();
  EnsureX11SocketDir();
  if (kind_ == "mutter") {
    StartMutter();
  } else if (kind_ == "kwin") {
    StartKwin();
  } else {
    throw std::runtime_error("no XWayland desktop of kind \"" + kind_ + "\"");
  }
  env_["DISPLAY"] = display_;
  WaitUntilManaged();
}

XWaylandDesktop::~XWaylandDesktop() {
  compositor_.reset();
}

void XWaylandDesktop::StartMutter() {
  // mutter needs a session bus of its own; dbus-run-session ends it with mutter.
  const std::string size = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight);
  compositor_ = std::make_unique<e2e::ChildProcess>(e2e::ProcessOptions{
      .argv = WithErrorsOnOutput({"dbus-run-session", "--", "mutter", "--wayland", "--headless",
                                  "--virtual-monitor", size,
                                  std::string("--wayland-display=") + kWaylandSocket}),
      .env = compositor_env_});
  const auto line = compositor_->WaitForLine("Using public X11 display :[0-9]+", kStartTimeout);
  if (!line) {
    throw std::runtime_error("mutter did not start XWayland\n" + compositor_->Describe());
  }
  const auto at = line->find("display :") + 8;
  display_ = line->substr(at, line->find_first_not_of("0123456789", at + 1) - at);
  // mutter lets in only clients that know the cookie it wrote.
  for (const auto& entry : fs::directory_iterator(compositor_env_.at("XDG_RUNTIME_DIR"))) {
    if (entry.path().filename().string().starts_with(".mutter-Xwaylandauth.")) {
      env_["XAUTHORITY"] = entry.path().string();
    }
  }
  if (!env_.contains("XAUTHORITY")) {
    throw std::runtime_error("mutter wrote no XWayland cookie\n" + compositor_->Describe());
  }
}

void XWaylandDesktop::StartKwin() {
  // A copy of the binary: the installed one carries file capabilities, which a container refuses
  // to execute. It must keep its name, or it will not load its own Qt platform plugin.
  const auto bin = dir_.MakeSubdir("bin");
  const fs::path kwin = bin / "kwin_wayland";
  fs::copy_file(FindOnPath("kwin_wayland", compositor_env_), kwin);
  // KWin tells its session program the X display; this one writes it down and stays. (Its
  // output goes nowhere: KWin does not forward it.)
  const fs::path session = bin / "session";
  const fs::path told = bin / "x11-display";
  std::ofstream(session) << "#!/bin/sh\necho \"$DISPLAY $XAUTHORITY\" > \"$0.new\"\n"
                            "mv \"$0.new\" "
                         << told << "\nexec sleep 2147483647\n";
  fs::permissions(session, fs::perms::owner_all);
  compositor_ = std::make_unique<e2e::ChildProcess>(e2e::ProcessOptions{
      .argv = WithErrorsOnOutput(
          {"dbus-run-session", "--", kwin.string(), "--virtual", "--xwayland", "--socket",
           kWaylandSocket, "--width", std::to_string(kScreenWidth), "--height",
           std::to_string(kScreenHeight), "--exit-with-session", session.string()}),
      .env = compositor_env_});
  std::string auth;
  e2e::WaitUntil(
      [&] {
        std::ifstream(told) >> display_ >> auth;
        return !display_.empty() || !compositor_->Running();
      },
      kStartTimeout);
  if (display_.empty()) {
    throw std::runtime_error("KWin did not start XWayland\n" + compositor_->Describe());
  }
  if (!auth.empty()) env_["XAUTHORITY"] = auth;
}

void XWaylandDesktop::WaitUntilManaged() {
  // The compositor manages X windows once it has published its check window on the root.
  const bool managing = e2e::WaitUntil(
      [&] {
        if (!compositor_->Running()) return true;
        const auto result = e2e::RunCommand({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, env_);
        return result.Ok() && result.out.find("window id #") != std::string::npos;
      },
      kStartTimeout);
  if (!managing || !compositor_->Running()) {
    throw std::runtime_error(kind_ + " does not manage X windows\n" + compositor_->Describe());
  }
}

}  // namespace plumwick::x11_test
