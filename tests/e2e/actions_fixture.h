// What the end-to-end tests of the contact and account actions and of the scratch pad share:
// plumwick-sandbox started on the test desktop, its text boxes filled and its buttons clicked where
// the window's design puts them, and its message boxes found and dismissed, as a person would.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_test.h"
#include "tests/e2e/harness/geometry.h"
#include "tests/e2e/harness/window_places.h"

namespace plumwick::e2e {

// Long enough for the slowest action (the focus guard's three seconds and a message box).
inline constexpr auto kEffectTimeout = std::chrono::seconds(8);

// Environment variables to set, or to remove when the value is nullopt.
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

class ActionsFixture : public DesktopTest {
 protected:
  // Starts the program with the session's environment and `changes` over it, and waits for its
  // window; a failure is fatal for the test.
  void StartProgram(const EnvironmentChanges& changes = {});

  void ClickControl(const Rect& control) const;
  // Replaces a text box's text by typing it. ASCII only: xdotool's own typing loses the case of
  // letters outside it. Returns the text the box then holds.
  std::optional<std::string> TypeIntoField(const Rect& field, const std::string& text) const;
  // Replaces a text box's text by pasting it from the clipboard, so that any text arrives
  // exactly. Returns the text the box then holds.
  std::optional<std::string> PasteIntoField(const Rect& field, const std::string& text) const;

  // The program's message box (a second window with the program's caption) once it shows.
  std::optional<WindowId> WaitForMessageBox() const;
  // Presses Return in the box and waits until it is gone.
  bool DismissWithReturn(WindowId box) const;

  // Waits for a standard output line that is exactly `line`.
  bool WaitForOutLine(const std::string& line) const;
  // Waits for the text on standard error: a failure is reported there as well as in its box.
  bool WaitForErrorText(const std::string& text) const;

  std::unique_ptr<ChildProcess> program_;
  WindowId window_ = 0;

 private:
  // The text of the text box that has the keyboard focus, read through the clipboard.
  std::optional<std::string> ReadBack() const;
};

}  // namespace plumwick::e2e
