// A program started by a test: its own process group, captured output, and a destructor that
// stops it and everything it started, whichever way the test ends.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace plumwick::e2e {

using Environment = std::map<std::string, std::string>;
using Clock = std::chrono::steady_clock;

// How a process ended: a normal exit with a code, or a signal.
struct ExitStatus {
  bool exited = false;
  int code = 0;    // meaningful when exited
  int signal = 0;  // meaningful when !exited

  bool ExitedWith(int expected) const { return exited && code == expected; }
  std::string Describe() const;
};

struct ProcessOptions {
  // argv[0] is looked up on the PATH of `env` when it has no '/'.
  std::vector<std::string> argv = {};
  // The whole environment: nothing of the test runner's is inherited.
  Environment env = {};
  // Where standard output goes byte for byte instead of being split into lines.
  std::optional<std::filesystem::path> stdout_file = std::nullopt;
};

class ChildProcess {
 public:
  // Throws std::runtime_error when the program cannot be found or executed.
  explicit ChildProcess(ProcessOptions options);
  ~ChildProcess();

  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  const std::string& Name() const { return name_; }

  // Waits for a standard output line that matches `pattern` (ECMAScript regex, searched within the
  // line), looking only past the last line an earlier call matched. Returns the line.
  std::optional<std::string> WaitForLine(const std::string& pattern, Clock::duration timeout);
  // Whether any standard output line so far matches `pattern`.
  bool HasLine(const std::string& pattern) const;
  // When the first standard output line that matches `pattern` arrived here; nullopt when none
  // has. Lines are stamped as they are read, within a few milliseconds of their writing.
  std::optional<Clock::time_point> LineTime(const std::string& pattern) const;
  std::vector<std::string> OutLines() const;
  std::string OutText() const;  // standard output byte for byte
  std::string ErrText() const;

  // Waits for the process to end by itself; nullopt when it is still running at the deadline.
  std::optional<ExitStatus> WaitForExit(Clock::duration timeout);
  bool Running();
  void Signal(int signal_number);
  // Asks the process group to end (SIGTERM), then kills what is left of it. Idempotent.
  ExitStatus Stop(Clock::duration grace = std::chrono::seconds(3));

  // Name, pid, state and the tail of both outputs: for failure messages.
  std::string Describe();

 private:
  void ReadOutput(int out_fd, int err_fd);
  void AppendOut(const char* data, std::size_t size);
  std::optional<ExitStatus> PeekExit();

  std::string name_;
  pid_t pid_ = -1;
  bool reaped_ = false;
  std::optional<ExitStatus> status_;

  mutable std::mutex mutex_;
  std::condition_variable output_changed_;
  std::string out_text_;
  std::vector<std::string> out_lines_;
  std::vector<Clock::time_point> out_line_times_;  // one for each of out_lines_
  std::string out_partial_;
  std::string err_text_;
  std::size_t cursor_ = 0;
  bool output_closed_ = false;

  std::atomic<bool> stop_reading_{false};
  std::thread reader_;
};

}  // namespace plumwick::e2e
