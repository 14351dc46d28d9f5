// "Select List" with Pidgin and many contacts: the time from a click on the button to the full
// list on the screen, with 1,000 contacts in the roster of which 300 are online, next to the same
// click with 10 contacts of which 3 are online (the floor: what the click costs whatever the
// list). Real parts throughout: plumwick, Pidgin, a Prosody server whose storage holds the
// rosters before Pidgin signs on, and the online contacts signed in by one slixmpp process, on a
// private desktop (Xvfb, openbox, PulseAudio null sink) and session bus.
//
// The end of the click is seen on the screen: the handler enables "Clear List" after it has
// filled the list, and both are painted in the same pass, so the bench watches the pixels of
// "Clear List" (read straight from the X server every 2 ms) from the moment the X server has
// taken the click. The first click reads the whole list; the later ones, the list unchanged, ask
// Pidgin only about what it reported since. It also counts the calls plumwick makes to Pidgin for
// one later click, from a monitor on the session bus in a round of its own.
//
// Run: sh tests/purple/run_in_private_network.sh build/default/bench/select_list_bench [rounds]
// (the server, Pidgin and the peers reach nothing but each other). Target: at most 0.25 s with
// 1,000 contacts, and at most 3 times the floor.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/desktop_user.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/window_places.h"
#include "tests/purple/pidgin.h"
#include "tests/purple/purple_dbus.h"
#include "tests/purple/session_bus.h"
#include "tests/purple/xmpp_peer.h"
#include "tests/purple/xmpp_server.h"

namespace {

using namespace plumwick::e2e;
using std::chrono::milliseconds;
using std::chrono::seconds;
using Stopwatch = std::chrono::steady_clock;

constexpr const char* kUser = "plum";
constexpr const char* kPassword = "secret";

struct Roster {
  int contacts;
  int online;  // spread evenly over the list
};

std::string Contact(int number) {
  char name[16];
  std::snprintf(name, sizeof name, "c%04d", number);
  return name;
}

bool Online(const Roster& roster, int number) {
  // Spread over the list: the first `online` of every `contacts` in turn.
  return static_cast<long>(number) * roster.online / roster.contacts !=
         static_cast<long>(number + 1) * roster.online / roster.contacts;
}

// Pixels straight from the X server, and clicks through XTest that the server has taken when
// the call returns.
class Screen {
 public:
  explicit Screen(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (display_ == nullptr) throw std::runtime_error("cannot open display " + display);
  }
  ~Screen() { XCloseDisplay(display_); }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  std::vector<unsigned long> Pixels(const Rect& area) {
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), area.x, area.y,
                              static_cast<unsigned>(area.width), static_cast<unsigned>(area.height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) throw std::runtime_error("cannot read the screen");
    std::vector<unsigned long> pixels;
    for (int y = 0; y < area.height; ++y) {
      for (int x = 0; x < area.width; ++x) pixels.push_back(XGetPixel(image, x, y));
    }
    XDestroyImage(image);
    return pixels;
  }

  void MoveTo(Point at) {
    XTestFakeMotionEvent(display_, -1, at.x, at.y, CurrentTime);
    XSync(display_, False);
  }

  void Click(Point at) {
    MoveTo(at);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
  }

 private:
  Display* display_;
};

Rect OnScreen(const Rect& client_area, const Rect& control) {
  return {client_area.x + control.x, client_area.y + control.y, control.width, control.height};
}

Point Center(const Rect& r) {
  return {r.x + r.width / 2, r.y + r.height / 2};
}

// Prosody, Pidgin signed on and the online contacts signed in, until the object goes.
class World {
 public:
  World(const DesktopSession& session, const Roster& roster) {
    bus_ = std::make_unique<SessionBus>(dir_.MakeSubdir("bus"), session.Env());
    env_ = bus_->On(session.Env());
    XmppAccount user{kUser, kPassword, {}};
    std::vector<XmppAccount> accounts;
    std::vector<std::string> buddies;
    std::vector<std::string> online;
    for (int number = 0; number < roster.contacts; ++number) {
      const std::string name = Contact(number);
      user.contacts.push_back(name);
      buddies.push_back(XmppServer::Jid(name));
      accounts.push_back({name, kPassword, {kUser}});
      if (Online(roster, number)) online.push_back(XmppServer::Jid(name) + "/peer");
    }
    accounts.push_back(user);
    server_ = std::make_unique<XmppServer>(accounts, env_);
    const auto config = dir_.MakeSubdir("purple");
    WritePidginConfig(
        config,
        {.jid = XmppServer::Jid(kUser) + "/plumwick", .password = kPassword, .buddies = buddies});
    pidgin_ = std::make_unique<Pidgin>(config, env_);
    pidgin_->StartSignedOn();
    crowd_ = std::make_unique<XmppCrowd>(online, kPassword, env_);
    // Until Pidgin has heard of every one of them.
    const PurpleDbus dbus(env_);
    const std::string group = IntArg(dbus.Int("PurpleFindGroup", {StringArg("Buddies")}));
    int seen = 0;
    if (!WaitUntil(
            [&] {
              return (seen = dbus.Int("PurpleBlistGetGroupOnlineCount", {group})) >=
                     static_cast<int>(online.size());
            },
            seconds(60), milliseconds(300))) {
      throw std::runtime_error("Pidgin sees " + std::to_string(seen) + " of " +
                               std::to_string(online.size()) + " contacts online");
    }
  }

  ~World() {
    pidgin_.reset();  // first, so that it does not reconnect to a server going away
    crowd_.reset();
    server_.reset();
    bus_.reset();
  }

  const Environment& Env() const { return env_; }
  const std::filesystem::path& Dir() const { return dir_.Path(); }

 private:
  PrivateDir dir_;
  std::unique_ptr<SessionBus> bus_;
  Environment env_;
  std::unique_ptr<XmppServer> server_;
  std::unique_ptr<Pidgin> pidgin_;
  std::unique_ptr<XmppCrowd> crowd_;
};

struct Figures {
  double first = 0;             // the first click, which reads the whole list
  std::vector<double> seconds;  // the later clicks, the list unchanged
  long calls = 0;               // of a later click
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Clicks Select List and returns the seconds until Clear List shows enabled; then clears the list.
double TimeOneClick(Screen& screen, const Rect& select_list, const Rect& clear_list) {
  screen.MoveTo(Center(select_list));
  std::this_thread::sleep_for(milliseconds(300));
  const std::vector<unsigned long> before = screen.Pixels(clear_list);
  screen.Click(Center(select_list));
  const auto clicked = Stopwatch::now();
  while (screen.Pixels(clear_list) == before) {
    if (Stopwatch::now() - clicked > seconds(10)) throw std::runtime_error("the list never came");
    std::this_thread::sleep_for(milliseconds(2));
  }
  const double taken = std::chrono::duration<double>(Stopwatch::now() - clicked).count();
  std::this_thread::sleep_for(milliseconds(300));
  screen.Click(Center(clear_list));
  std::this_thread::sleep_for(milliseconds(500));
  return taken;
}

Figures Measure(const DesktopSession& session, const Roster& roster, int rounds) {
  const World world(session, roster);
  ChildProcess program({.argv = {PLUMWICK_PROGRAM}, .env = world.Env()});
  const DesktopUser user(session);
  const auto window = user.WaitForWindow(kCaption, kWindowTimeout);
  if (!window) throw std::runtime_error("the window did not show\n" + program.Describe());
  std::this_thread::sleep_for(seconds(3));  // let start-up and its cue settle
  const Rect area = user.ClientArea(*window);
  const Rect select_list = OnScreen(area, place::kSelectList);
  const Rect clear_list = OnScreen(area, place::kClearList);
  Screen screen(session.Display());

  Figures figures;
  figures.first = TimeOneClick(screen, select_list, clear_list);
  for (int round = 0; round < rounds; ++round) {
    figures.seconds.push_back(TimeOneClick(screen, select_list, clear_list));
  }
  // The calls of one more click, counted by a monitor on the bus (which slows the bus, so this
  // round is not timed).
  const std::string log = (world.Dir() / "calls.log").string();
  {
    ChildProcess monitor({.argv = {"sh", "-c",
                                   "exec dbus-monitor --session \"type='method_call',destination='"
                                   "im.pidgin.purple.PurpleService'\" > " +
                                       log},
                          .env = world.Env()});
    std::this_thread::sleep_for(seconds(1));
    TimeOneClick(screen, select_list, clear_list);
    std::this_thread::sleep_for(milliseconds(500));
  }
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("method call", 0) == 0) ++figures.calls;
  }
  if (program.ErrText().find("Error ") != std::string::npos) {
    throw std::runtime_error("the program showed an error\n" + program.Describe());
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::stoi(argv[1]) : 5;
  try {
    const DesktopSession session;
    // The first click reads the whole list; later ones ask Pidgin only about what it reported
    // changed since (here nothing), with a call for each account.
    std::printf("%-34s %8s %8s | %8s %8s %8s %8s\n", "Select List, click to full list", "first s",
                "x floor", "later s", "min s", "max s", "calls");
    std::printf("%-34s %8s %8s | %8s\n", "", "", "", "(median)");
    Figures floor;
    for (const Roster roster : {Roster{10, 3}, Roster{1000, 300}}) {
      const Figures figures = Measure(session, roster, rounds);
      if (floor.seconds.empty()) floor = figures;
      const std::string label = std::to_string(roster.contacts) + " contacts, " +
                                std::to_string(roster.online) + " online";
      const double median = Median(figures.seconds);
      std::printf("%-34s %8.3f %8.1f | %8.3f %8.3f %8.3f %8ld\n", label.c_str(), figures.first,
                  figures.first / floor.first, median,
                  *std::min_element(figures.seconds.begin(), figures.seconds.end()),
                  *std::max_element(figures.seconds.begin(), figures.seconds.end()), figures.calls);
      std::printf("%-34s %8s %8s | %7.1fx the floor\n", "", "", "", median / Median(floor.seconds));
      std::fflush(stdout);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "select_list_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
