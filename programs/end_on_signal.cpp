// Ending the program on a termination signal through the event loop.
#include "programs/end_on_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

#include "platform/failure.h"

namespace plumwick {
namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The pipe's write end, for the handler: a plain int, written once before the handlers go in.
volatile sig_atomic_t write_fd = -1;

extern "C" void WriteSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // Non-blocking: with the pipe full, an ending is already on its way.
  [[maybe_unused]] const ssize_t written = write(write_fd, &byte, 1);
  errno = saved;
}

}  // namespace

EndOnSignal::EndOnSignal(std::function<void()> end) : end_(std::move(end)) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw Failure(error_code::kWindow, "The program cannot watch for the signal to end");
  }
  read_fd_ = fds[0];
  write_fd = fds[1];
  notifier_ = std::make_unique<QSocketNotifier>(read_fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &EndOnSignal::OnSignal);
  struct sigaction action {};
  action.sa_handler = WriteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal_number : kSignals) sigaction(signal_number, &action, nullptr);
}

EndOnSignal::~EndOnSignal() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : kSignals) sigaction(signal_number, &action, nullptr);
  notifier_.reset();
  close(read_fd_);
  close(write_fd);
  write_fd = -1;
}

void EndOnSignal::OnSignal() {
  char bytes[16];
  while (read(read_fd_, bytes, sizeof bytes) > 0) {
  }
  end_();
}

}  // namespace plumwick
