// What every end-to-end test of a program shares, whichever client it drives (plumwick-sandbox, or
// plumwick with Pidgin): the program started on the test desktop, its text boxes filled, its
// buttons and status box clicked where the window's design puts them, its contact list read off
// the screen, and its message boxes found and dismissed, as a person would.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_test.h"
#include "tests/e2e/harness/geometry.h"
#include "tests/e2e/harness/text_rows.h"
#include "tests/e2e/harness/window_places.h"

namespace plumwick::e2e {

// Long enough for the slowest action: the focus guard's three seconds and a message box.
inline constexpr auto kEffectTimeout = std::chrono::seconds(10);

// Environment variables to set, or to remove when the value is nullopt.
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

// The entries of the status box, in their order.
enum class StatusEntry { kOnline = 0, kBusy = 1, kAway = 2 };

class ProgramFixture : public DesktopTest {
 protected:
  // `executable`: the program each test starts.
  explicit ProgramFixture(std::string executable) : executable_(std::move(executable)) {}

  // The environment the program gets before a test's changes: the desktop's.
  virtual Environment ProgramEnvironment() const { return Session().Env(); }
  // Starts the program with `changes` over its environment and waits for its window; a failure
  // is fatal for the test.
  void StartProgram(const EnvironmentChanges& changes = {});

  void ClickControl(const Rect& control) const;
  // Replaces a text box's text by typing it. ASCII only: xdotool's own typing loses the case of
  // letters outside it. Returns the text the box then holds.
  std::optional<std::string> TypeIntoField(const Rect& field, const std::string& text) const;
  // Replaces a text box's text by pasting it from the clipboard, so that any text arrives
  // exactly. Returns the text the box then holds.
  std::optional<std::string> PasteIntoField(const Rect& field, const std::string& text) const;
  // Opens the status box's list and clicks the entry.
  void PickStatus(StatusEntry entry) const;
  // The rows of text in the contact list, relative to the window's client area; the window's
  // picture is kept in the scratch folder as `shot_name`.
  std::vector<TextRow> ContactRows(const std::string& shot_name) const;

  // The program's message box (a second window with the program's caption) once it shows.
  std::optional<WindowId> WaitForMessageBox(Clock::duration timeout = kEffectTimeout) const;
  // Presses Return in the box and waits until it is gone.
  bool DismissWithReturn(WindowId box) const;

  // Waits for a standard output line that is exactly `line`.
  bool WaitForOutLine(const std::string& line) const;
  // Waits for the text on standard error: a failure is reported there as well as in its box.
  bool WaitForErrorText(const std::string& text, Clock::duration timeout = kEffectTimeout) const;

  std::unique_ptr<ChildProcess> program_;
  WindowId window_ = 0;

 private:
  // The text of the text box that has the keyboard focus, read through the clipboard.
  std::optional<std::string> ReadBack() const;

  std::string executable_;
};

}  // namespace plumwick::e2e
