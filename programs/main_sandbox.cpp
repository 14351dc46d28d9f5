// plumwick-sandbox: the program with the built-in sandbox messaging client, so that everything runs
// on any desktop without a real client.
#include <cstdlib>
#include <iostream>

#include <QApplication>
#include <QIcon>

#include "clients/sandbox/qt/qt_sandbox_client.h"
#include "platform/qt/font_system_warm_up.h"
#include "programs/command_line.h"
#include "programs/desktop_program.h"
#include "programs/end_process.h"

namespace {

// What --help says the program is for.
constexpr char kSummary[] =
    "A skinned companion window for a messaging client, here its built-in sandbox client:\n"
    "set your status, list your contacts, send a prepared message, add and delete contacts,\n"
    "change your display name, and collect the time, date and IP address to copy.";

int Run(int& argc, char** argv) {
  plumwick::FontSystemWarmUp fonts;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("plumwick-sandbox"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/plumwick.ico")));
  plumwick::sandbox::QtSandboxClient client(std::cout);
  fonts.Wait();
  // The client stands for one already running beside the program; its window need not hold up
  // the program's.
  return plumwick::RunDesktopProgram(client.Factory(), [&client] { client.ShowWindow(); });
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = plumwick::AnswerCommandLine(argc, argv, kSummary)) {
    return *answered;
  }
  if (!plumwick::CheckDisplay("plumwick-sandbox")) return EXIT_FAILURE;
  // Also after a failed start-up, while the start-up cue's stream may still be being set up.
  plumwick::EndProcess(Run(argc, argv));
}
