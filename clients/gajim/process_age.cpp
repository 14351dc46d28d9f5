// The age of a process, from /proc.
#include "clients/gajim/process_age.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace plumwick::gajim {

std::optional<std::chrono::milliseconds> AgeFromStat(const std::string& stat_line,
                                                     double uptime_seconds, long ticks_per_second) {
  // "pid (comm) state ...": the command name may hold spaces and parentheses, so the fields are
  // counted from the last ')'. The start time is field 22, in clock ticks since boot.
  const std::size_t name_end = stat_line.rfind(')');
  if (name_end == std::string::npos || ticks_per_second <= 0) return std::nullopt;
  std::istringstream fields(stat_line.substr(name_end + 1));
  std::string skipped;
  for (int field = 3; field <= 21; ++field) fields >> skipped;
  unsigned long long start_ticks = 0;
  if (!(fields >> start_ticks)) return std::nullopt;
  const double age =
      uptime_seconds - static_cast<double>(start_ticks) / static_cast<double>(ticks_per_second);
  return std::chrono::milliseconds(age > 0 ? static_cast<long long>(age * 1000) : 0);
}

std::optional<std::chrono::milliseconds> ProcessAge(std::int64_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::ifstream uptime("/proc/uptime");
  std::string line;
  double seconds = 0;
  if (!std::getline(stat, line) || !(uptime >> seconds)) return std::nullopt;
  return AgeFromStat(line, seconds, sysconf(_SC_CLK_TCK));
}

}  // namespace plumwick::gajim
