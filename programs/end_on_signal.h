// Ends the program on SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in its terminal, the terminal
// closing) the way the desktop's close does, so that the keyboard's spare keys are given back to
// the X server. The signal handler only writes a byte into a pipe; the event loop reads it and
// ends the program from there, where anything may be called.
#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QSocketNotifier>

namespace plumwick {

class EndOnSignal final : public QObject {
  Q_OBJECT
 public:
  // `end` runs in the event loop, inside any wait of a handler's too. Needs a QCoreApplication.
  // One at a time per process: the signals' dispositions are the process's.
  explicit EndOnSignal(std::function<void()> end);
  ~EndOnSignal() override;

  EndOnSignal(const EndOnSignal&) = delete;
  EndOnSignal& operator=(const EndOnSignal&) = delete;

 private:
  void OnSignal();

  std::function<void()> end_;
  int read_fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace plumwick
