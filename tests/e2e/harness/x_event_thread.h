// An X connection of the test's own whose events a thread hands to a handler as they come: what
// the harness's key listeners share.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace plumwick::e2e {

class XEventThread {
 public:
  // Display* and XEvent*, kept out of this header: Xlib's macros clash with GoogleTest's.
  using Setup = std::function<void(void* display)>;
  using Handler = std::function<void(void* display, void* event)>;

  // Opens the display, lets `setup` select the events on the caller's thread, then hands each
  // event to `handler` on a thread of its own until destroyed. Throws std::runtime_error when the
  // display cannot be opened, and whatever `setup` throws.
  XEventThread(const std::string& display, const Setup& setup, Handler handler);
  ~XEventThread();

  XEventThread(const XEventThread&) = delete;
  XEventThread& operator=(const XEventThread&) = delete;

 private:
  void Listen();

  std::unique_ptr<void, void (*)(void*)> display_;
  Handler handler_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace plumwick::e2e
