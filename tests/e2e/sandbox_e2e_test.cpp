// plumwick-sandbox as a person meets it: started on a desktop with a window manager and a sound
// server, its window shown, the contact list filled and used with real clicks, the start-up cue
// heard, and the program ended with its exit button; both programs' plain message when there is no
// display or it cannot be reached; and their answers to their command line, which need no display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/literal_pattern.h"
#include "tests/e2e/harness/sound_recorder.h"
#include "tests/e2e/harness/text_rows.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/window_keys.h"
#include "tests/e2e/harness/window_places.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr const char* kProgram = PLUMWICK_SANDBOX_PROGRAM;

std::string OpenedLine(const std::string& signin) {
  return "^sandbox: conversation opened with " + LiteralPattern(signin) + "$";
}

class SandboxE2eTest : public SandboxFixture {};

TEST_F(SandboxE2eTest, ShowsItsWindowAtTheDesignSize) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const Rect area = User().ClientArea(window_);
  EXPECT_EQ(area.width, 267);
  EXPECT_EQ(area.height, 484);
  EXPECT_TRUE(program_->Running()) << program_->Describe();
}

TEST_F(SandboxE2eTest, TheClientWindowFollowsWithoutTakingTheFocus) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  const auto client = User().WaitForWindow("Sandbox messaging client", kWindowTimeout);
  ASSERT_TRUE(client) << program_->Describe();
  // A window manager that gives the new window the focus does so as it maps it: watch for a while.
  std::optional<WindowId> active;
  EXPECT_FALSE(
      WaitUntil([&] { return (active = User().ActiveWindow()) != window_; }, milliseconds(700)))
      << "the focus went to window " << active.value_or(0) << " (the client's is " << *client
      << ") from the program's " << window_;
}

TEST_F(SandboxE2eTest, SelectListFillsTheListAndDoubleClicksOpenConversations) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_TRUE(ContactRows("before-select-list.png").empty()) << "the list is filled at start";

  User().Click(window_, place::kSelectList.Center());
  // alice, carol, dave, frank and grace: the two offline contacts are left out.
  constexpr std::size_t kListed = 5;
  std::vector<TextRow> rows;
  WaitUntil([&] { return (rows = ContactRows("after-select-list.png")).size() == kListed; },
            kEffectTimeout, milliseconds(200));
  ASSERT_GE(rows.size(), 2u) << "the contact list stayed empty after a click on Select List\n"
                             << program_->Describe();
  EXPECT_EQ(rows.size(), kListed) << "rows of text in the list";

  // Rows are the full width of the list; the middle of the list is inside every row.
  const int x = place::kContacts.x + place::kContacts.width / 2;
  User().DoubleClick(window_, {x, rows[0].Middle()});
  EXPECT_TRUE(program_->WaitForLine(OpenedLine("alice@example.com"), kEffectTimeout))
      << program_->Describe();
  EXPECT_TRUE(User().WaitForWindow("alice@example.com - Conversation", kEffectTimeout));

  // bob is offline, so carol comes second.
  User().DoubleClick(window_, {x, rows[1].Middle()});
  EXPECT_TRUE(program_->WaitForLine(OpenedLine("carol@example.com"), kEffectTimeout))
      << program_->Describe();
  EXPECT_TRUE(User().WaitForWindow("carol@example.com - Conversation", kEffectTimeout));
  EXPECT_FALSE(program_->HasLine("bob@example\\.com")) << program_->Describe();
}

TEST_F(SandboxE2eTest, StartUpCueIsHeard) {
  // With nothing playing the sink is silent: the loud recording below is the program's doing.
  SoundRecorder quiet(Session());
  std::this_thread::sleep_for(milliseconds(300));
  const Recording silence = quiet.Stop();
  ASSERT_GT(silence.Seconds(), 0.1);
  EXPECT_LT(silence.LoudestRms(milliseconds(50)), 1e-4);

  SoundRecorder recorder(Session());
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  EXPECT_TRUE(recorder.WaitForSound(0.02, kEffectTimeout))
      << "loudest: " << recorder.SoFar().LoudestRms(milliseconds(50)) << "\n"
      << program_->Describe();
}

TEST_F(SandboxE2eTest, ExitProgramEndsItCleanlyWithoutSigningOut) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  User().Click(window_, place::kExit.Center());
  const auto status = program_->WaitForExit(seconds(10));
  ASSERT_TRUE(status) << "still running after EXIT PROGRAM!\n" << program_->Describe();
  EXPECT_TRUE(status->ExitedWith(0)) << program_->Describe();
  program_->Stop();
  EXPECT_FALSE(program_->HasLine("^sandbox: signed out")) << program_->Describe();
  EXPECT_TRUE(User().WaitForNoWindow(kCaption, kEffectTimeout));
}

TEST_F(SandboxE2eTest, ClosingTheWindowFromTheDesktopEndsTheProgramLikeExit) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_TRUE(User().WaitForWindow("Sandbox messaging client", kWindowTimeout));
  // The window manager closes the window it has focused. The client's window maps after the
  // program's and the window manager may still focus it a moment after the program's window was
  // activated: the close would then close the client's window. The program's window must have
  // stayed active for a while before the key.
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (User().ActiveWindow() != window_) {
          User().Activate(window_);
          return false;
        }
        std::this_thread::sleep_for(milliseconds(300));
        return User().ActiveWindow() == window_;
      },
      kWindowTimeout))
      << "the program's window does not stay active";
  User().Key("alt+F4");  // the window manager's close
  const auto status = program_->WaitForExit(seconds(10));
  ASSERT_TRUE(status) << "still running after the close (the active window is "
                      << User().ActiveWindow().value_or(0) << ", the program's " << window_ << ")\n"
                      << program_->Describe();
  EXPECT_TRUE(status->ExitedWith(0)) << program_->Describe();
  EXPECT_TRUE(User().WaitForNoWindow("Sandbox messaging client", kEffectTimeout));
}

TEST_F(SandboxE2eTest, AnAltF4TheWindowManagerLetsThroughEndsTheProgramToo) {
  // Openbox now and then hands Alt+F4 to the focused window instead of closing it, on a loaded
  // machine: the user's close must not be lost there.
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  User().Activate(window_);
  SendAltKeyToWindow(Session(), window_, "F4");
  const auto status = program_->WaitForExit(seconds(10));
  ASSERT_TRUE(status) << "still running after Alt+F4 reached the window\n" << program_->Describe();
  EXPECT_TRUE(status->ExitedWith(0)) << program_->Describe();
  EXPECT_FALSE(program_->HasLine("^sandbox: signed out")) << program_->Describe();
}

TEST(WithoutDisplayTest, EachProgramSaysWhyInPlainWordsAndFails) {
  struct Row {
    const char* program;
    const char* display;  // nullptr: not set
    const char* wayland;  // WAYLAND_DISPLAY; nullptr: not set
    const char* names;    // what the message says is wrong
    const char* advice;   // and what to do
    std::ptrdiff_t lines;
  };
  // No server listens on display 987 here: the tests' own X servers pick free numbers from 0 up.
  const Row rows[] = {
      {kProgram, nullptr, nullptr, "no display", "xvfb-run", 3},
      {PLUMWICK_PROGRAM, nullptr, nullptr, "no display", "xvfb-run", 3},
      {kProgram, nullptr, "wayland-0", "has no X11 display", "needs XWayland", 4},
      {kProgram, ":987", nullptr, "cannot connect to the X display \":987\"", "xvfb-run", 1},
      {PLUMWICK_PROGRAM, ":987", nullptr, "cannot connect to the X display \":987\"", "xvfb-run",
       1},
      {kProgram, "nohost:0", nullptr, "the X display \"nohost:0\"", "desktop session", 1},
      {PLUMWICK_PROGRAM, "nohost:0", nullptr, "the X display \"nohost:0\"", "desktop session", 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.program) + " DISPLAY=" + (row.display ? row.display : "(unset)") +
                 " WAYLAND_DISPLAY=" + (row.wayland ? row.wayland : "(unset)"));
    // The test runner's environment may have a DISPLAY; the program gets only the row's, and no
    // Qt platform choice.
    Environment env = BaseEnvironment("/nonexistent");
    if (row.display != nullptr) env["DISPLAY"] = row.display;
    if (row.wayland != nullptr) env["WAYLAND_DISPLAY"] = row.wayland;
    ChildProcess program({.argv = {row.program}, .env = env});
    const auto status = program.WaitForExit(seconds(10));
    ASSERT_TRUE(status) << program.Describe();
    EXPECT_TRUE(status->ExitedWith(1)) << program.Describe();
    program.Stop();
    const std::string err = program.ErrText();
    EXPECT_TRUE(err.starts_with(std::filesystem::path(row.program).filename().string() + ": "))
        << err;
    EXPECT_NE(err.find(row.names), std::string::npos) << err;
    EXPECT_NE(err.find(row.advice), std::string::npos) << err;
    // Said before Qt starts: nothing of Qt's own failure, which ends in an abort.
    EXPECT_EQ(err.find("Reinstalling"), std::string::npos) << err;
    EXPECT_EQ(std::ranges::count(err, '\n'), row.lines) << err;
  }
}

TEST(CommandLineTest, HelpAndVersionAnswerWithoutADisplayAndAnythingElseIsRefused) {
  struct Row {
    const char* program;
    const char* option;
    int status;
    const char* out;  // what standard output starts with
    const char* err;  // what standard error starts with
  };
  const Row rows[] = {
      {PLUMWICK_PROGRAM, "--help", 0, "Usage: ", ""},
      {PLUMWICK_PROGRAM, "--version", 0, "plumwick 0.", ""},
      {kProgram, "--help", 0, "Usage: ", ""},
      {kProgram, "-v", 0, "plumwick-sandbox 0.", ""},
      {PLUMWICK_PROGRAM, "--bogus", 2, "",
       "plumwick: Unknown option 'bogus'. Usage: plumwick [--help] [--version] [--client "
       "pidgin|gajim]\n"},
      {PLUMWICK_PROGRAM, "--client=psi", 2, "",
       "plumwick: --client takes pidgin or gajim, not 'psi'."},
      {kProgram, "--client=pidgin", 2, "", "plumwick-sandbox: Unknown option 'client'."},
      {kProgram, "stray", 2, "", "plumwick-sandbox: It takes no argument such as 'stray'."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.program) + " " + row.option);
    ChildProcess program(
        {.argv = {row.program, row.option}, .env = BaseEnvironment("/nonexistent")});
    const auto status = program.WaitForExit(seconds(10));
    ASSERT_TRUE(status) << program.Describe();
    EXPECT_TRUE(status->ExitedWith(row.status)) << program.Describe();
    program.Stop();
    EXPECT_TRUE(program.OutText().starts_with(row.out)) << program.OutText();
    EXPECT_TRUE(program.ErrText().starts_with(row.err)) << program.ErrText();
    EXPECT_EQ(std::ranges::count(program.ErrText(), '\n'), row.status == 2 ? 1 : 0);
  }
}

}  // namespace
}  // namespace plumwick::e2e
