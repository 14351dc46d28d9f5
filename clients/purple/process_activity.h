// Whether the client's process is still at work: how much CPU time it has used, as the kernel
// counts it. Pidgin says nothing while it takes in a long text typed into a conversation (a long
// word laid out anew for every key can keep it busy for tens of seconds), so a wait for its report
// of the message follows its CPU time rather than a fixed budget per key.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace plumwick::purple {

struct ProcessActivity {
  std::chrono::milliseconds cpu{0};  // user and system time used so far
  bool stopped = false;              // stopped by a signal or a debugger: it will go on later
};

// Reads a line of /proc/<pid>/stat; nullopt for a line it cannot read or a process that has ended
// (a zombie waiting for its parent).
std::optional<ProcessActivity> ParseProcessStat(const std::string& line, long ticks_per_second);

// The activity of the process now; nullopt once it has ended.
std::optional<ProcessActivity> ReadProcessActivity(std::int64_t pid);

}  // namespace plumwick::purple
