// The CPU time of a process, from /proc.
#include "clients/purple/process_activity.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace plumwick::purple {

std::optional<ProcessActivity> ParseProcessStat(const std::string& line, long ticks_per_second) {
  // "pid (comm) state ppid ...": the command name may hold spaces and parentheses, so the fields
  // are counted from the last ')'.
  const std::size_t name_end = line.rfind(')');
  if (name_end == std::string::npos || ticks_per_second <= 0) return std::nullopt;
  std::istringstream fields(line.substr(name_end + 1));
  char state = 0;
  fields >> state;
  // Fields 4 to 13 come before utime (14) and stime (15).
  std::string skipped;
  for (int field = 4; field <= 13; ++field) fields >> skipped;
  unsigned long long user = 0;
  unsigned long long system = 0;
  if (!(fields >> user >> system) || state == 'Z' || state == 'X') return std::nullopt;
  const auto ticks = static_cast<long long>(user + system);
  return ProcessActivity{
      .cpu = std::chrono::milliseconds(ticks * 1000 / ticks_per_second),
      .stopped = state == 'T' || state == 't',
  };
}

std::optional<ProcessActivity> ReadProcessActivity(std::int64_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return std::nullopt;
  return ParseProcessStat(line, sysconf(_SC_CLK_TCK));
}

}  // namespace plumwick::purple
