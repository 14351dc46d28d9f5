// CPU time the program spends on one "Add contact": plumwick-sandbox on a private desktop (Xvfb,
// openbox, PulseAudio null sink), a real click on the button, until the contact is added and its
// confirmation dismissed by the second Enter. The handler waits a whole second in between, so a
// wait that spun would show here. CPU time is summed over all the program's threads from
// /proc/<pid>/task/*/schedstat (nanoseconds), next to the same span with the program idle.
//
// Run: build/default/bench/add_contact_bench [rounds]   (target: at most 0.02 CPU seconds)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/desktop_user.h"

namespace {

using namespace plumwick::e2e;
using std::chrono::seconds;

// CPU seconds used so far by every thread of the process.
double CpuSeconds(pid_t pid) {
  double total = 0;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    std::ifstream schedstat(task.path() / "schedstat");
    long long on_cpu_ns = 0;
    if (schedstat >> on_cpu_ns) total += static_cast<double>(on_cpu_ns) / 1e9;
  }
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::stoi(argv[1]) : 3;
  DesktopSession session;
  DesktopUser user(session);
  const auto program = session.Start({PLUMWICK_SANDBOX_PROGRAM});
  const auto window = user.WaitForWindow("PLUMWICK", seconds(15));
  if (!window) {
    std::fprintf(stderr, "the window did not show:\n%s\n", program->Describe().c_str());
    return 1;
  }
  std::this_thread::sleep_for(seconds(3));  // let start-up and its cue settle

  std::printf("%-28s %12s %10s\n", "span", "cpu seconds", "wall s");
  for (int round = 1; round <= rounds; ++round) {
    const std::string address = "bench" + std::to_string(round) + "@example.com";
    user.Click(*window, {8 + 124, 360 + 7});  // address
    user.Key("ctrl+a");
    user.Type(address);

    const auto idle_start = std::chrono::steady_clock::now();
    const double idle_before = CpuSeconds(program->Pid());
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const double idle = CpuSeconds(program->Pid()) - idle_before;
    const double idle_wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - idle_start).count();

    const auto start = std::chrono::steady_clock::now();
    const double before = CpuSeconds(program->Pid());
    user.Click(*window, {176 + 40, 392 + 8});  // add_contact, "Add contact"
    if (!program->WaitForLine("sandbox: contact added: " + address, seconds(10)) ||
        !user.WaitForNoWindow("Contact added", seconds(5))) {
      std::fprintf(stderr, "the contact was not added:\n%s\n", program->Describe().c_str());
      return 1;
    }
    const double used = CpuSeconds(program->Pid()) - before;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-28s %12.4f %10.2f\n", ("Add contact, round " + std::to_string(round)).c_str(),
                used, wall);
    std::printf("%-28s %12.4f %10.2f\n", "  idle, same program", idle, idle_wall);
  }
  return 0;
}
