// The harness's process handling, which every end-to-end test leans on: output capture, exit
// codes, timeouts, a clean environment and teardown that leaves nothing running.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

Environment PathOnly() {
  return {{"PATH", "/usr/bin:/bin"}};
}

// Zombies count as gone: whether init reaps orphans promptly depends on the machine.
bool Alive(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string pid_field, name, state;
  return static_cast<bool>(stat >> pid_field >> name >> state) && state != "Z";
}

ChildProcess Shell(const std::string& script) {
  return ChildProcess({.argv = {"sh", "-c", script}, .env = PathOnly()});
}

TEST(ChildProcessTest, CapturesLinesErrorsAndExitCode) {
  ChildProcess process = Shell("echo one; echo two >&2; echo three; printf tail; exit 3");
  EXPECT_EQ(process.WaitForLine("^thr", seconds(5)), "three");
  // Matching moves past the matched line: an earlier line is not found again.
  EXPECT_EQ(process.WaitForLine("^one$", milliseconds(500)), std::nullopt);
  const auto status = process.WaitForExit(seconds(5));
  ASSERT_TRUE(status);
  EXPECT_TRUE(status->ExitedWith(3)) << status->Describe();
  process.Stop();
  EXPECT_EQ(process.OutLines(), (std::vector<std::string>{"one", "three", "tail"}));
  EXPECT_EQ(process.OutText(), "one\nthree\ntail");
  EXPECT_EQ(process.ErrText(), "two\n");
  EXPECT_TRUE(process.HasLine("^one$"));
}

TEST(ChildProcessTest, WaitsGiveUpAtTheirTimeoutAndStopTerminates) {
  ChildProcess process = Shell("echo started; exec sleep 30");
  EXPECT_EQ(process.WaitForLine("never printed", milliseconds(200)), std::nullopt);
  EXPECT_EQ(process.WaitForExit(milliseconds(200)), std::nullopt);
  EXPECT_TRUE(process.Running());
  const ExitStatus status = process.Stop();
  EXPECT_FALSE(status.exited);
  EXPECT_EQ(status.signal, SIGTERM);
}

TEST(ChildProcessTest, StopAlsoEndsWhatTheProgramStarted) {
  pid_t grandchild = 0;
  {
    // The shell ignores SIGTERM, so only the escalation to SIGKILL ends it.
    ChildProcess process = Shell("trap '' TERM; sleep 60 & echo $!; wait");
    const auto line = process.WaitForLine("^[0-9]+$", seconds(5));
    ASSERT_TRUE(line) << process.Describe();
    grandchild = std::stoi(*line);
    ASSERT_TRUE(Alive(grandchild));
    const ExitStatus status = process.Stop(milliseconds(300));
    EXPECT_EQ(status.signal, SIGKILL);
  }
  EXPECT_TRUE(WaitUntil([&] { return !Alive(grandchild); }, seconds(5)));
}

TEST(ChildProcessTest, GetsExactlyTheEnvironmentItIsGiven) {
  // Nothing of the test runner's environment (its DISPLAY above all) may leak into a program.
  const auto result = RunCommand({"env"}, {{"PATH", "/usr/bin:/bin"}, {"ONLY", "this"}});
  ASSERT_TRUE(result.Ok()) << result.err;
  EXPECT_EQ(result.out, "ONLY=this\nPATH=/usr/bin:/bin\n");
}

TEST(ChildProcessTest, ProgramsThatCannotRunAreReportedByName) {
  try {
    ChildProcess process({.argv = {"plumwick-no-such-program"}, .env = PathOnly()});
    FAIL() << "started a program that does not exist";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("plumwick-no-such-program"), std::string::npos);
  }
  EXPECT_THROW(ChildProcess({.argv = {"/etc/hostname"}, .env = PathOnly()}), std::runtime_error);
}

TEST(RunCommandTest, ReportsFailureAndTimeout) {
  const auto slow = RunCommand({"sleep", "30"}, PathOnly(), milliseconds(200));
  EXPECT_TRUE(slow.timed_out);
  EXPECT_FALSE(slow.Ok());

  try {
    RunChecked({"sh", "-c", "echo why >&2; exit 4"}, PathOnly());
    FAIL() << "a failing command passed";
  } catch (const std::runtime_error& error) {
    const std::string text = error.what();
    EXPECT_NE(text.find("exit code 4"), std::string::npos) << text;
    EXPECT_NE(text.find("why"), std::string::npos) << text;
  }
  EXPECT_EQ(RunChecked({"echo", "fine"}, PathOnly()), "fine\n");
}

}  // namespace
}  // namespace plumwick::e2e
