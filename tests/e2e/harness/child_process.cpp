// A program started by a test: its own process group, captured output, and a destructor that
// stops it and everything it started, whichever way the test ends.
#include "tests/e2e/harness/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace plumwick::e2e {

namespace {

std::system_error SystemError(const std::string& what) {
  return std::system_error(errno, std::generic_category(), what);
}

std::string FindProgram(const std::string& program, const Environment& env) {
  if (program.find('/') != std::string::npos) return program;
  const auto path = env.find("PATH");
  std::istringstream dirs(path == env.end() ? std::string("/usr/bin:/bin") : path->second);
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (dir.empty()) continue;
    const std::string candidate = dir + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  throw std::runtime_error("program \"" + program +
                           "\" was not found on the PATH; scripts/install-deps installs it");
}

// Closes a descriptor when it goes out of scope, so a throw between pipe() and fork() leaks none.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

void MakePipe(Fd& read_end, Fd& write_end) {
  int fds[2];
  // O_CLOEXEC: a pipe end leaked into another child would keep our reader from ever seeing EOF.
  if (pipe2(fds, O_CLOEXEC) != 0) throw SystemError("pipe2");
  read_end.Reset(fds[0]);
  write_end.Reset(fds[1]);
}

}  // namespace

std::string ExitStatus::Describe() const {
  if (exited) return "exit code " + std::to_string(code);
  return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

ChildProcess::ChildProcess(ProcessOptions options) {
  if (options.argv.empty()) throw std::invalid_argument("ChildProcess needs a program");
  name_ = std::filesystem::path(options.argv.front()).filename();
  const std::string path = FindProgram(options.argv.front(), options.env);

  // Everything the child needs is prepared here: between fork and exec only async-signal-safe
  // calls are allowed, since the reader threads of other children may hold locks.
  std::vector<char*> argv;
  for (auto& arg : options.argv) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_strings;
  for (const auto& [key, value] : options.env) env_strings.push_back(key + "=" + value);
  std::vector<char*> envp;
  for (auto& entry : env_strings) envp.push_back(entry.data());
  envp.push_back(nullptr);

  Fd null_in(open("/dev/null", O_RDONLY | O_CLOEXEC));
  if (null_in.get() < 0) throw SystemError("open /dev/null");
  Fd out_read, out_write, err_read, err_write, status_read, status_write;
  if (options.stdout_file) {
    out_write.Reset(
        open(options.stdout_file->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (out_write.get() < 0) throw SystemError("open " + options.stdout_file->string());
  } else {
    MakePipe(out_read, out_write);
  }
  MakePipe(err_read, err_write);
  MakePipe(status_read, status_write);

  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) throw SystemError("fork");
  if (pid_ == 0) {
    setpgid(0, 0);
    // Should the test process die without running destructors, its children go with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    dup2(null_in.get(), STDIN_FILENO);
    dup2(out_write.get(), STDOUT_FILENO);
    dup2(err_write.get(), STDERR_FILENO);
    execve(path.c_str(), argv.data(), envp.data());
    const int error = errno;
    (void)!write(status_write.get(), &error, sizeof error);
    _exit(127);
  }
  setpgid(pid_, pid_);  // also here, so the group exists before the first Stop() may signal it
  out_write.Close();
  err_write.Close();
  status_write.Close();

  int exec_error = 0;
  ssize_t got;
  do {
    got = read(status_read.get(), &exec_error, sizeof exec_error);
  } while (got < 0 && errno == EINTR);
  if (got == static_cast<ssize_t>(sizeof exec_error)) {
    waitpid(pid_, nullptr, 0);
    reaped_ = true;
    throw std::runtime_error("cannot execute " + path + ": " + std::strerror(exec_error));
  }
  reader_ = std::thread(&ChildProcess::ReadOutput, this, out_read.Release(), err_read.Release());
}

ChildProcess::~ChildProcess() {
  Stop();
  stop_reading_ = true;
  if (reader_.joinable()) reader_.join();
}

void ChildProcess::ReadOutput(int out_fd, int err_fd) {
  char buffer[4096];
  while (!stop_reading_ && (out_fd >= 0 || err_fd >= 0)) {
    pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    // A bounded wait, so the destructor can end the loop even when a detached grandchild still
    // holds a pipe open.
    if (poll(fds, 2, 50) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      int& fd = i == 0 ? out_fd : err_fd;
      if (fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        close(fd);
        fd = -1;
        continue;
      }
      std::lock_guard lock(mutex_);
      if (i == 0) {
        AppendOut(buffer, static_cast<std::size_t>(n));
      } else {
        err_text_.append(buffer, static_cast<std::size_t>(n));
      }
      output_changed_.notify_all();
    }
  }
  if (out_fd >= 0) close(out_fd);
  if (err_fd >= 0) close(err_fd);
  std::lock_guard lock(mutex_);
  if (!out_partial_.empty()) {
    out_lines_.push_back(std::exchange(out_partial_, {}));
    out_line_times_.push_back(Clock::now());
  }
  output_closed_ = true;
  output_changed_.notify_all();
}

void ChildProcess::AppendOut(const char* data, std::size_t size) {
  out_text_.append(data, size);
  out_partial_.append(data, size);
  std::size_t start = 0;
  for (std::size_t end; (end = out_partial_.find('\n', start)) != std::string::npos;
       start = end + 1) {
    out_lines_.push_back(out_partial_.substr(start, end - start));
    out_line_times_.push_back(Clock::now());
  }
  out_partial_.erase(0, start);
}

std::optional<std::string> ChildProcess::WaitForLine(const std::string& pattern,
                                                     Clock::duration timeout) {
  const std::regex re(pattern);
  const auto deadline = Clock::now() + timeout;
  std::unique_lock lock(mutex_);
  for (;;) {
    for (; cursor_ < out_lines_.size(); ++cursor_) {
      if (std::regex_search(out_lines_[cursor_], re)) return out_lines_[cursor_++];
    }
    if (output_closed_) return std::nullopt;
    if (output_changed_.wait_until(lock, deadline) == std::cv_status::timeout) {
      for (; cursor_ < out_lines_.size(); ++cursor_) {
        if (std::regex_search(out_lines_[cursor_], re)) return out_lines_[cursor_++];
      }
      return std::nullopt;
    }
  }
}

std::optional<Clock::time_point> ChildProcess::LineTime(const std::string& pattern) const {
  const std::regex re(pattern);
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < out_lines_.size(); ++i) {
    if (std::regex_search(out_lines_[i], re)) return out_line_times_[i];
  }
  return std::nullopt;
}

bool ChildProcess::HasLine(const std::string& pattern) const {
  const std::regex re(pattern);
  std::lock_guard lock(mutex_);
  for (const auto& line : out_lines_) {
    if (std::regex_search(line, re)) return true;
  }
  return false;
}

std::vector<std::string> ChildProcess::OutLines() const {
  std::lock_guard lock(mutex_);
  return out_lines_;
}

std::string ChildProcess::OutText() const {
  std::lock_guard lock(mutex_);
  return out_text_;
}

std::string ChildProcess::ErrText() const {
  std::lock_guard lock(mutex_);
  return err_text_;
}

// Looks at the exit without reaping it: while the leader stays a zombie its pid, and so the
// process group id, cannot be reused, which keeps the later group-wide kill safe.
std::optional<ExitStatus> ChildProcess::PeekExit() {
  if (status_) return status_;
  siginfo_t info{};
  if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
      info.si_pid == 0) {
    return std::nullopt;
  }
  ExitStatus status;
  status.exited = info.si_code == CLD_EXITED;
  (status.exited ? status.code : status.signal) = info.si_status;
  status_ = status;
  return status_;
}

std::optional<ExitStatus> ChildProcess::WaitForExit(Clock::duration timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (auto status = PeekExit()) return status;
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool ChildProcess::Running() {
  return !PeekExit().has_value();
}

void ChildProcess::Signal(int signal_number) {
  if (!PeekExit()) kill(pid_, signal_number);
}

ExitStatus ChildProcess::Stop(Clock::duration grace) {
  if (reaped_) return status_.value_or(ExitStatus{});
  if (!PeekExit()) {
    kill(-pid_, SIGTERM);
    if (!WaitForExit(grace)) {
      kill(-pid_, SIGKILL);
      siginfo_t info{};
      while (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) != 0 &&
             errno == EINTR) {
      }
      PeekExit();
    }
  }
  kill(-pid_, SIGKILL);  // whatever the leader left behind in its group
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  reaped_ = true;
  // Let the reader drain what the process wrote before it ended.
  std::unique_lock lock(mutex_);
  output_changed_.wait_for(lock, std::chrono::seconds(1), [this] { return output_closed_; });
  return status_.value_or(ExitStatus{});
}

std::string ChildProcess::Describe() {
  std::ostringstream text;
  text << name_ << " (pid " << pid_ << "): ";
  if (auto status = PeekExit()) {
    text << status->Describe();
  } else {
    text << "running";
  }
  const auto lines = OutLines();
  const std::size_t first = lines.size() > 30 ? lines.size() - 30 : 0;
  text << "\n--- standard output (last " << lines.size() - first << " of " << lines.size()
       << " lines) ---\n";
  for (std::size_t i = first; i < lines.size(); ++i) text << lines[i] << '\n';
  std::string err = ErrText();
  if (err.size() > 3000) err = "..." + err.substr(err.size() - 3000);
  text << "--- standard error ---\n" << err;
  return text.str();
}

}  // namespace plumwick::e2e
