// What the end-to-end tests of the actions and of the scratch pad share.
#include "tests/e2e/actions_fixture.h"

#include <algorithm>

#include "tests/e2e/harness/clipboard.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

namespace {

constexpr auto kFieldTimeout = std::chrono::seconds(5);

}  // namespace

void ActionsFixture::StartProgram(const EnvironmentChanges& changes) {
  Environment env = Session().Env();
  for (const auto& [name, value] : changes) {
    if (value) {
      env[name] = *value;
    } else {
      env.erase(name);
    }
  }
  program_ = std::make_unique<ChildProcess>(
      ProcessOptions{.argv = {PLUMWICK_SANDBOX_PROGRAM}, .env = std::move(env)});
  const auto window = User().WaitForWindow(kCaption, kWindowTimeout);
  ASSERT_TRUE(window) << "no window \"" << kCaption << "\"\n" << program_->Describe();
  window_ = *window;
}

void ActionsFixture::ClickControl(const Rect& control) const {
  User().Click(window_, control.Center());
}

std::optional<std::string> ActionsFixture::TypeIntoField(const Rect& field,
                                                         const std::string& text) const {
  ClickControl(field);
  User().Key("ctrl+a");
  User().Type(text);
  return ReadBack();
}

std::optional<std::string> ActionsFixture::PasteIntoField(const Rect& field,
                                                          const std::string& text) const {
  const ClipboardOwner source(Session(), text);
  ClickControl(field);
  User().Key("ctrl+a ctrl+v");
  return ReadBack();
}

std::optional<std::string> ActionsFixture::ReadBack() const {
  // The box's text is copied with a mark added at its end, which is then taken away again. A new
  // mark each time: a clipboard that ends in it holds the program's copy, made after every key
  // before it, and not the text of some earlier copy.
  static int count = 0;
  const std::string mark = "#" + std::to_string(++count);
  User().Key("End");
  User().Type(mark);
  std::string keys = "ctrl+a ctrl+c End";
  for (std::size_t i = 0; i < mark.size(); ++i) keys += " BackSpace";
  User().Key(keys);
  std::optional<std::string> copied;
  const auto marked = [&] { return copied && copied->ends_with(mark); };
  WaitUntil(
      [&] {
        copied = ReadClipboard(Session());
        return marked();
      },
      kFieldTimeout, std::chrono::milliseconds(50));
  if (!marked()) return std::nullopt;
  copied->resize(copied->size() - mark.size());
  return copied;
}

std::optional<WindowId> ActionsFixture::WaitForMessageBox() const {
  return User().WaitForOtherWindow(kCaption, window_, kEffectTimeout);
}

bool ActionsFixture::DismissWithReturn(WindowId box) const {
  User().Activate(box);
  User().Key("Return");
  return WaitUntil(
      [&] {
        const auto windows = User().FindWindows(kCaption);
        return std::find(windows.begin(), windows.end(), box) == windows.end();
      },
      kEffectTimeout);
}

bool ActionsFixture::WaitForOutLine(const std::string& line) const {
  return WaitUntil(
      [&] {
        const auto lines = program_->OutLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
      },
      kEffectTimeout);
}

bool ActionsFixture::WaitForErrorText(const std::string& text) const {
  return WaitUntil([&] { return program_->ErrText().find(text) != std::string::npos; },
                   kEffectTimeout);
}

}  // namespace plumwick::e2e
