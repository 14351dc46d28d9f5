// How long a process has been running, as the kernel counts it. Gajim takes its name on the
// session bus at once but offers its remote object only seconds later: its age says whether a
// missing object is still to come or was never turned on.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace plumwick::gajim {

// The age from a line of /proc/<pid>/stat and the seconds since boot (/proc/uptime's first
// field); nullopt for a line it cannot read.
std::optional<std::chrono::milliseconds> AgeFromStat(const std::string& stat_line,
                                                     double uptime_seconds, long ticks_per_second);

// The age of the process now; nullopt once it has ended, or when this system shows it not (a
// process of another PID namespace).
std::optional<std::chrono::milliseconds> ProcessAge(std::int64_t pid);

}  // namespace plumwick::gajim
