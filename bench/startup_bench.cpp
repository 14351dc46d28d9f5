// Start-up of plumwick-sandbox next to a bare Qt 6 frameless window of the same size, and next to
// the floor (that window with a line of text in each design font and the start-up cue), on the same
// private desktop (Xvfb, openbox, PulseAudio null sink) in the same run, measured from outside and
// identically for both: the time from starting the process until its window is viewable on the
// screen, and the process's peak resident memory (VmHWM) once start-up has settled. The
// programs take turns, after one unmeasured warm-up each, so drifts of the machine hit both alike.
//
// Run: build/default/bench/startup_bench [rounds]   (targets: at most 1.15 x the time and
// 1.2 x the memory of the bare window)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_session.h"

// Last: Xlib defines macros (None, Bool, Status) that must not reach the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using namespace plumwick::e2e;
using Seconds = std::chrono::duration<double>;

struct Program {
  const char* label;
  const char* path;
  const char* caption;
};

struct Sample {
  double seconds;
  long peak_kib;
};

// Watches the screen for a top-level window with a given name becoming viewable. Event driven:
// the window manager's client list changes and every map on the root wake it, so no polling
// loop competes with the program for the CPU.
class WindowWatch {
 public:
  explicit WindowWatch(const std::string& display) : x_(XOpenDisplay(display.c_str())) {
    if (x_ == nullptr) throw std::runtime_error("cannot open display " + display);
    // A window on the client list may be gone by the time it is asked about; Xlib's default
    // handler would end the benchmark for that.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XSelectInput(x_, DefaultRootWindow(x_), SubstructureNotifyMask | PropertyChangeMask);
    client_list_ = XInternAtom(x_, "_NET_CLIENT_LIST", False);
    XSync(x_, False);
  }
  ~WindowWatch() { XCloseDisplay(x_); }
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;

  // True once a viewable window named `caption` is managed, false at the deadline.
  bool WaitViewable(const std::string& caption, Clock::time_point deadline) {
    for (;;) {
      while (XPending(x_) > 0) {
        XEvent event;
        XNextEvent(x_, &event);
      }
      if (Viewable(caption)) return true;
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) return false;
      pollfd fd{ConnectionNumber(x_), POLLIN, 0};
      poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
    }
  }

 private:
  bool Viewable(const std::string& caption) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x_, DefaultRootWindow(x_), client_list_, 0, 1024, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) != Success ||
        data == nullptr) {
      return false;
    }
    bool found = false;
    const auto* windows = reinterpret_cast<const Window*>(data);
    for (unsigned long i = 0; i < count && !found; ++i) {
      char* name = nullptr;
      XWindowAttributes attributes;
      if (XFetchName(x_, windows[i], &name) != 0 && name != nullptr) {
        found = caption == name && XGetWindowAttributes(x_, windows[i], &attributes) != 0 &&
                attributes.map_state == IsViewable;
        XFree(name);
      }
    }
    XFree(data);
    return found;
  }

  Display* x_;
  Atom client_list_;
};

long PeakKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

Sample Measure(const DesktopSession& session, const Program& program) {
  WindowWatch watch(session.Display());
  const auto start = Clock::now();
  const auto process = session.Start({program.path});
  if (!watch.WaitViewable(program.caption, start + std::chrono::seconds(20))) {
    throw std::runtime_error(std::string(program.label) + " showed no window:\n" +
                             process->Describe());
  }
  const double shown = Seconds(Clock::now() - start).count();
  // Start-up goes on after the window shows (the start-up cue plays): take the peak after it.
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const long peak = PeakKib(process->Pid());
  process->Stop();
  return {shown, peak};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::stoi(argv[1]) : 10;
  const Program programs[] = {
      {"bare Qt window", PLUMWICK_BARE_WINDOW_PROGRAM, "startup-bench-bare"},
      {"text+cue floor", PLUMWICK_FLOOR_PROGRAM, "startup-bench-floor"},
      {"plumwick-sandbox", PLUMWICK_SANDBOX_PROGRAM, "PLUMWICK"},
  };
  constexpr int kPrograms = std::size(programs);
  try {
    DesktopSession session;
    for (const Program& program : programs) Measure(session, program);  // warm-up

    std::vector<double> times[kPrograms], peaks[kPrograms];
    std::printf("%-6s %-18s %12s %14s\n", "round", "program", "shown (ms)", "peak RSS (MiB)");
    for (int round = 1; round <= rounds; ++round) {
      for (int p = 0; p < kPrograms; ++p) {
        const Sample sample = Measure(session, programs[p]);
        times[p].push_back(sample.seconds * 1000);
        peaks[p].push_back(static_cast<double>(sample.peak_kib) / 1024);
        std::printf("%-6d %-18s %12.1f %14.1f\n", round, programs[p].label, times[p].back(),
                    peaks[p].back());
      }
    }
    std::printf("\n%-18s %12s %12s %12s %14s\n", "program", "median ms", "min ms", "max ms",
                "median MiB");
    for (int p = 0; p < kPrograms; ++p) {
      std::printf("%-18s %12.1f %12.1f %12.1f %14.1f\n", programs[p].label, Median(times[p]),
                  *std::min_element(times[p].begin(), times[p].end()),
                  *std::max_element(times[p].begin(), times[p].end()), Median(peaks[p]));
    }
    const auto ratios = [&](const char* what, int p, int base, const char* targets) {
      std::printf("%-34s time %.2fx, memory %.2fx%s\n", what,
                  Median(times[p]) / Median(times[base]), Median(peaks[p]) / Median(peaks[base]),
                  targets);
    };
    std::printf("\n");
    ratios("plumwick-sandbox / bare window:", 2, 0, "   (targets <= 1.15x, <= 1.2x)");
    ratios("text+cue floor / bare window:", 1, 0, "");
    ratios("plumwick-sandbox / text+cue floor:", 2, 1, "");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "startup_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
