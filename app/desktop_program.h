// The window on the desktop with a given messaging client. This and the programs' main functions
// are the one place that picks the concrete desktop parts and wires them to the window controller.
#pragma once

#include <functional>
#include <memory>

#include "messenger/messenger.h"
#include "platform/focused_window.h"
#include "platform/x11/xdo_keystrokes.h"

class QWidget;

namespace plumwick {

// True when there is a display to show the window on; otherwise says so on standard error, and how
// to get one, naming the program.
bool CheckDisplay(const char* program);

// How the program types into the messaging client. A client that types on its own too shares
// these, so that one keystroke synthesizer owns the keyboard's spare keys.
struct DesktopTyping {
  XdoKeystrokes& keys;
  FocusedWindow& focus;
};

// The window built from its design on Qt, with its cues and its controller. Needs a QApplication.
class DesktopProgram {
 public:
  // Builds the window; throws Failure when a part of it cannot be made. Without `typing` the
  // program types through an X11 synthesizer of its own.
  explicit DesktopProgram(messenger::MessengerFactory create_client);
  DesktopProgram(messenger::MessengerFactory create_client, DesktopTyping typing);
  ~DesktopProgram();
  // Runs start-up and shows the window; false when start-up failed (the error has been shown).
  bool Start();
  QWidget& widget();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// What runs once the window has first painted: work that should not delay the window.
using AfterShown = std::function<void()>;

// Builds, starts and runs the window until it ends; returns the process's exit code.
int RunDesktopProgram(messenger::MessengerFactory create_client, AfterShown after_shown = {});
int RunDesktopProgram(messenger::MessengerFactory create_client, DesktopTyping typing,
                      AfterShown after_shown = {});

}  // namespace plumwick
