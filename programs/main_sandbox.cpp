// plumwick-sandbox: the program with the built-in sandbox messaging client, so that everything runs
// on any desktop without a real client.
#include <cstdlib>
#include <iostream>

#include <QApplication>
#include <QIcon>

#include "clients/sandbox/qt/qt_sandbox_client.h"
#include "platform/qt/font_system_warm_up.h"
#include "programs/desktop_program.h"
#include "programs/end_process.h"

namespace {

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
  if (!plumwick::CheckDisplay("plumwick-sandbox")) return EXIT_FAILURE;
  // Also after a failed start-up, while the start-up cue's stream may still be being set up.
  plumwick::EndProcess(Run(argc, argv));
}
