// Keys given to windows in ways xdotool's own commands do not: a key sent to one window as an
// event of its own (XSendEvent), past the window manager's key bindings, which is what a window
// gets when the window manager lets a key through to it (xdotool types real keys to the focused
// window, which the window manager sees first); and a key held down as a person holds it.
#pragma once

#include <string>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/desktop_user.h"

namespace plumwick::e2e {

// Presses and releases the key named `keysym` (an X keysym name such as "F4") with Alt held, in
// the window. Throws std::runtime_error when the display or the key cannot be had.
void SendAltKeyToWindow(const DesktopSession& session, WindowId window, const std::string& keysym);

// A key pressed (real XTest input, to whichever window has the focus) and held down until
// Release, or until the object goes. Its auto-repeat is off meanwhile, so that a hold of any
// length gives one press and one release, as a hand resting on the key of a keyboard that does
// not repeat: no repeated key can stand in for keys a test waits for.
class HeldKey {
 public:
  // `env` is the desktop's, `keysym` an X keysym name ("Return", "Shift_L"). Throws
  // std::runtime_error when the display or the key cannot be had.
  HeldKey(const Environment& env, const std::string& keysym);
  ~HeldKey();
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;

  // Lets go of the key and gives it back its auto-repeat; later calls do nothing.
  void Release();

 private:
  void SetAutoRepeat(bool on) const;

  Environment env_;
  std::string keysym_;
  int keycode_ = 0;
  bool held_ = false;
};

}  // namespace plumwick::e2e
