// The window on the desktop with a given messaging client. This and the programs' main functions
// are the one place that picks the concrete Qt, X11 and POSIX parts and wires them to the window
// controller.
#pragma once

#include <functional>
#include <memory>

#include "messenger/messenger.h"

class QWidget;

namespace plumwick {

// True when there is a display to show the window on, and then picks X11 for it also in a Wayland
// session (through XWayland); otherwise (no DISPLAY, or one that cannot be connected to) says so on
// standard error, and how to get one, naming the program. Call before the QApplication is made.
bool CheckDisplay(const char* program);

// The window built from its design on Qt, with its cues, its desktop parts and its controller.
// Needs a QApplication.
class DesktopProgram {
 public:
  // Builds the window; throws Failure when a part of it cannot be made.
  explicit DesktopProgram(messenger::MessengerFactory create_client);
  ~DesktopProgram();
  // Runs start-up and shows the window; false when start-up failed (the error has been shown).
  bool Start();
  QWidget& widget();
  // Ends the program as the desktop's close of its window does: at once, giving back the keys
  // typing bound. Does not return once the window has been built.
  void Close();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// What runs once the window has first painted: work that should not delay the window.
using AfterShown = std::function<void()>;

// Builds, starts and runs the window until it ends; returns the process's exit code.
int RunDesktopProgram(messenger::MessengerFactory create_client, AfterShown after_shown = {});

}  // namespace plumwick
