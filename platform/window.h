// The program's one window as a whole: showing it in front and ending the program.
#pragma once

namespace plumwick {

class Window {
 public:
  virtual ~Window() = default;
  // Shows the window (not modally), brings it to the front and gives it the keyboard focus.
  virtual void ShowAndActivate() = 0;
  // Ends the program at once: no further handler runs and the window closes. Does not return.
  [[noreturn]] virtual void End() = 0;
};

}  // namespace plumwick
