// What every end-to-end test of a program shares.
#include "tests/e2e/harness/program_fixture.h"

#include <algorithm>

#include "tests/e2e/harness/clipboard.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

namespace {

constexpr auto kFieldTimeout = std::chrono::seconds(5);
constexpr auto kClipboardPoll = std::chrono::milliseconds(50);

// What is retried below is the test's own typing, not the program's. The first keys typed on this
// desktop right after a program that typed into another window was ended are sometimes lost, and
// a message box only just shown may not have put the focus on its button yet: an entry whose
// read-back differs is made again, a box still there gets Return again. What the program types is
// checked where it arrives, never retried.
constexpr int kAttempts = 3;

}  // namespace

void ProgramFixture::StartProgram(const EnvironmentChanges& changes) {
  Environment env = ProgramEnvironment();
  for (const auto& [name, value] : changes) {
    if (value) {
      env[name] = *value;
    } else {
      env.erase(name);
    }
  }
  program_ =
      std::make_unique<ChildProcess>(ProcessOptions{.argv = {executable_}, .env = std::move(env)});
  const auto window = User().WaitForWindow(kCaption, kWindowTimeout);
  ASSERT_TRUE(window) << "no window \"" << kCaption << "\"\n" << program_->Describe();
  window_ = *window;
}

void ProgramFixture::ClickControl(const Rect& control) const {
  User().Click(window_, control.Center());
}

std::optional<std::string> ProgramFixture::TypeIntoField(const Rect& field,
                                                         const std::string& text) const {
  std::optional<std::string> held;
  for (int attempt = 0; attempt < kAttempts && held != text; ++attempt) {
    ClickControl(field);
    User().Key("ctrl+a");
    User().Type(text);
    held = ReadBack();
  }
  return held;
}

std::optional<std::string> ProgramFixture::PasteIntoField(const Rect& field,
                                                          const std::string& text) const {
  std::optional<std::string> held;
  for (int attempt = 0; attempt < kAttempts && held != text; ++attempt) {
    // Offered anew each time: reading the box back puts its copy on the clipboard.
    const ClipboardOwner source(Session(), text);
    ClickControl(field);
    User().Key("ctrl+a ctrl+v");
    held = ReadBack();
  }
  return held;
}

std::optional<std::string> ProgramFixture::ReadBack() const {
  // The box's text is copied with a mark added at its end: a clipboard that ends in the mark holds
  // the program's copy, made after every key before it. A new mark each time, so that no earlier
  // copy (an attempt's before, or a text that ends in '#') passes for it. The mark is then taken
  // away and the box copied once more: the clipboard must then hold the text without it, so the
  // box holds exactly what is returned.
  static int count = 0;
  const std::string mark = "#" + std::to_string(++count);
  User().Key("End");
  User().Type(mark);
  User().Key("ctrl+a ctrl+c");
  std::optional<std::string> copied;
  const bool marked = WaitUntil(
      [&] {
        copied = ReadClipboard(Session());
        return copied && copied->ends_with(mark);
      },
      kFieldTimeout, kClipboardPoll);
  if (!marked) return std::nullopt;
  copied->resize(copied->size() - mark.size());
  std::string keys = "End";
  for (std::size_t i = 0; i < mark.size(); ++i) keys += " BackSpace";
  User().Key(keys + " ctrl+a ctrl+c");
  const bool clean =
      WaitUntil([&] { return ReadClipboard(Session()) == copied; }, kFieldTimeout, kClipboardPoll);
  if (!clean) return std::nullopt;
  return copied;
}

void ProgramFixture::PickStatus(StatusEntry entry) const {
  ASSERT_NO_THROW(
      User().PickFromDropDown(window_, program_->Pid(), place::kStatus, static_cast<int>(entry), 3))
      << program_->Describe();
}

std::vector<TextRow> ProgramFixture::ContactRows(const std::string& shot_name) const {
  return ListRows(Session(), window_, place::kContacts, Session().ScratchDir() / shot_name);
}

std::optional<WindowId> ProgramFixture::WaitForMessageBox(Clock::duration timeout) const {
  return User().WaitForOtherWindow(kCaption, window_, timeout);
}

bool ProgramFixture::DismissWithReturn(WindowId box) const {
  const auto gone = [&] {
    const auto windows = User().FindWindows(kCaption);
    return std::find(windows.begin(), windows.end(), box) == windows.end();
  };
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    User().Activate(box);
    User().Key("Return");
    if (WaitUntil(gone, std::chrono::seconds(2))) return true;
  }
  return false;
}

bool ProgramFixture::WaitForOutLine(const std::string& line) const {
  return WaitUntil(
      [&] {
        const auto lines = program_->OutLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
      },
      kEffectTimeout);
}

bool ProgramFixture::WaitForErrorText(const std::string& text, Clock::duration timeout) const {
  return WaitUntil([&] { return program_->ErrText().find(text) != std::string::npos; }, timeout);
}

}  // namespace plumwick::e2e
