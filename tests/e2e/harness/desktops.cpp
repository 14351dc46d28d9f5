// How each desktop of the tests is started and how to tell that it is up.
#include "tests/e2e/harness/desktops.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {
namespace {

namespace fs = std::filesystem;

constexpr auto kStartTimeout = std::chrono::seconds(20);
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr const char* kWaylandSocket = "wayland-plumwick";

struct DesktopFacts {
  DesktopKind kind;
  const char* name;
  const char* current_desktop;  // XDG_CURRENT_DESKTOP as the desktop's session sets it
};

constexpr std::array<DesktopFacts, kAllDesktops.size() + 1> kFacts = {{
    {DesktopKind::kOpenbox, "openbox", ""},  // a bare window manager: no session around it
    {DesktopKind::kXfwm4, "xfwm4", "XFCE"},
    {DesktopKind::kMarco, "marco", "MATE"},
    {DesktopKind::kMetacity, "metacity", "GNOME-Flashback:GNOME"},
    {DesktopKind::kMutterX11, "mutter-x11", "GNOME"},
    {DesktopKind::kKwinX11, "kwin-x11", "KDE"},
    {DesktopKind::kMutterWayland, "mutter-wayland", "GNOME"},
    {DesktopKind::kKwinWayland, "kwin-wayland", "KDE"},
    {DesktopKind::kNoWindowManager, "none", ""},
}};

const DesktopFacts& FactsOf(DesktopKind kind) {
  for (const DesktopFacts& facts : kFacts) {
    if (facts.kind == kind) return facts;
  }
  throw std::logic_error("a desktop kind without facts");
}

// The window the property names on `window`, as xprop prints it ("... window id # 0x40000a").
std::string CheckWindow(const std::vector<std::string>& where, const Environment& env) {
  std::vector<std::string> argv = {"xprop"};
  argv.insert(argv.end(), where.begin(), where.end());
  argv.push_back("_NET_SUPPORTING_WM_CHECK");
  const CommandResult result = RunCommand(argv, env);
  const auto at = result.out.find("window id # ");
  if (!result.Ok() || at == std::string::npos) return {};
  std::istringstream id(result.out.substr(at + 12));
  std::string window;
  id >> window;
  return window;
}

std::unique_ptr<ChildProcess> WaitUntilManaging(std::unique_ptr<ChildProcess> manager,
                                                const Environment& env, const std::string& name) {
  const bool managing = WaitUntil([&] { return !manager->Running() || WindowManagerRuns(env); },
                                  kStartTimeout, std::chrono::milliseconds(50));
  if (!managing || !manager->Running()) {
    throw std::runtime_error(name + " did not take the window manager role\n" +
                             manager->Describe());
  }
  return manager;
}

// With its own session bus, which ends with it: the desktops' window managers and compositors
// talk to their settings and to each other over it, and xfwm4 ends at once without one.
std::vector<std::string> OnOwnBus(std::vector<std::string> argv) {
  argv.insert(argv.begin(), {"dbus-run-session", "--"});
  return argv;
}

// "exec 2>&1" first: the compositors report the X display on standard error.
std::vector<std::string> WithErrorsOnOutput(std::vector<std::string> argv) {
  argv.insert(argv.begin(), {"sh", "-c", "exec 2>&1; exec \"$@\"", "sh"});
  return argv;
}

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

fs::path FindOnPath(const std::string& program, const Environment& env) {
  std::istringstream path(env.at("PATH"));
  for (std::string dir; std::getline(path, dir, ':');) {
    const fs::path candidate = fs::path(dir) / program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  throw std::runtime_error(program + " is not installed");
}

std::string ScreenSize() {
  return std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight);
}

WaylandSession StartMutter(const Environment& env) {
  WaylandSession session;
  session.compositor = std::make_unique<ChildProcess>(ProcessOptions{
      .argv = WithErrorsOnOutput(
          OnOwnBus({"mutter", "--wayland", "--headless", "--virtual-monitor", ScreenSize(),
                    std::string("--wayland-display=") + kWaylandSocket})),
      .env = env});
  const auto line =
      session.compositor->WaitForLine("Using public X11 display :[0-9]+", kStartTimeout);
  if (!line) {
    throw std::runtime_error("mutter did not start XWayland\n" + session.compositor->Describe());
  }
  const auto at = line->find("display :") + 8;
  session.client_env["DISPLAY"] =
      line->substr(at, line->find_first_not_of("0123456789", at + 1) - at);
  // mutter lets in only clients that know the cookie it wrote.
  for (const auto& entry : fs::directory_iterator(env.at("XDG_RUNTIME_DIR"))) {
    if (entry.path().filename().string().starts_with(".mutter-Xwaylandauth.")) {
      session.client_env["XAUTHORITY"] = entry.path().string();
    }
  }
  if (!session.client_env.contains("XAUTHORITY")) {
    throw std::runtime_error("mutter wrote no XWayland cookie\n" + session.compositor->Describe());
  }
  return session;
}

WaylandSession StartKwin(const Environment& env, const fs::path& scratch) {
  // A copy of the binary: the installed one carries file capabilities, which a container refuses
  // to execute. It must keep its name, or it will not load its own Qt platform plugin.
  const fs::path kwin = scratch / "kwin_wayland";
  fs::copy_file(FindOnPath("kwin_wayland", env), kwin, fs::copy_options::overwrite_existing);
  // KWin tells its session program the X display; this one writes it down and stays. (Its output
  // goes nowhere: KWin does not forward it.)
  const fs::path session_program = scratch / "session";
  const fs::path told = scratch / "x11-display";
  std::ofstream(session_program) << "#!/bin/sh\necho \"$DISPLAY $XAUTHORITY\" > \"$0.new\"\n"
                                    "mv \"$0.new\" "
                                 << told << "\nexec sleep 2147483647\n";
  fs::permissions(session_program, fs::perms::owner_all);
  WaylandSession session;
  session.compositor = std::make_unique<ChildProcess>(ProcessOptions{
      .argv = WithErrorsOnOutput(
          OnOwnBus({kwin.string(), "--virtual", "--xwayland", "--socket", kWaylandSocket, "--width",
                    std::to_string(kScreenWidth), "--height", std::to_string(kScreenHeight),
                    "--exit-with-session", session_program.string()})),
      .env = env});
  std::string display, auth;
  WaitUntil(
      [&] {
        std::ifstream(told) >> display >> auth;
        return !display.empty() || !session.compositor->Running();
      },
      kStartTimeout);
  if (display.empty()) {
    throw std::runtime_error("KWin did not start XWayland\n" + session.compositor->Describe());
  }
  session.client_env["DISPLAY"] = display;
  if (!auth.empty()) session.client_env["XAUTHORITY"] = auth;
  return session;
}

}  // namespace

std::string DesktopName(DesktopKind kind) {
  return FactsOf(kind).name;
}

DesktopKind DesktopNamed(const std::string& name) {
  std::string names;
  for (const DesktopFacts& facts : kFacts) {
    if (name == facts.name) return facts.kind;
    names += std::string(names.empty() ? "" : ", ") + facts.name;
  }
  throw std::invalid_argument("no desktop \"" + name + "\"; the desktops are " + names);
}

bool IsWaylandSession(DesktopKind kind) {
  return kind == DesktopKind::kMutterWayland || kind == DesktopKind::kKwinWayland;
}

DesktopKind TestDesktopKind() {
  const char* name = std::getenv("PLUMWICK_TEST_DESKTOP");
  return name == nullptr || *name == '\0' ? DesktopKind::kOpenbox : DesktopNamed(name);
}

Environment SessionVariables(DesktopKind kind) {
  const std::string current = FactsOf(kind).current_desktop;
  if (current.empty()) return {};
  return {{"XDG_CURRENT_DESKTOP", current},
          {"XDG_SESSION_TYPE", IsWaylandSession(kind) ? "wayland" : "x11"}};
}

std::unique_ptr<ChildProcess> StartWindowManager(DesktopKind kind, const Environment& env) {
  std::vector<std::string> argv;
  switch (kind) {
    case DesktopKind::kOpenbox:
      argv = {"openbox", "--sm-disable"};
      break;
    case DesktopKind::kXfwm4:
      argv = OnOwnBus({"xfwm4", "--sm-client-disable"});
      break;
    case DesktopKind::kMarco:
      argv = OnOwnBus({"marco", "--sm-disable"});
      break;
    case DesktopKind::kMetacity:
      argv = OnOwnBus({"metacity", "--sm-disable"});
      break;
    case DesktopKind::kMutterX11:
      argv = OnOwnBus({"mutter", "--x11", "--sm-disable"});
      break;
    case DesktopKind::kKwinX11:
      argv = OnOwnBus({"kwin_x11"});
      break;
    case DesktopKind::kNoWindowManager:
      return nullptr;
    case DesktopKind::kMutterWayland:
    case DesktopKind::kKwinWayland:
      throw std::logic_error(DesktopName(kind) + " is a Wayland session, not an X window manager");
  }
  return WaitUntilManaging(std::make_unique<ChildProcess>(ProcessOptions{.argv = argv, .env = env}),
                           env, DesktopName(kind));
}

WaylandSession StartWaylandSession(DesktopKind kind, const Environment& env,
                                   const fs::path& scratch) {
  EnsureX11SocketDir();
  WaylandSession session;
  if (kind == DesktopKind::kMutterWayland) {
    session = StartMutter(env);
  } else if (kind == DesktopKind::kKwinWayland) {
    session = StartKwin(env, scratch);
  } else {
    throw std::logic_error(DesktopName(kind) + " is no Wayland session");
  }
  session.client_env["WAYLAND_DISPLAY"] = kWaylandSocket;
  Environment probe = env;
  for (const auto& [name, value] : session.client_env) probe[name] = value;
  session.compositor = WaitUntilManaging(std::move(session.compositor), probe, DesktopName(kind));
  return session;
}

bool WindowManagerRuns(const Environment& env) {
  const std::string named = CheckWindow({"-root"}, env);
  return !named.empty() && CheckWindow({"-id", named}, env) == named;
}

}  // namespace plumwick::e2e
