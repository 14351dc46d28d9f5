// The command line both programs share.
#include "programs/command_line.h"

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

namespace plumwick {

std::optional<int> AnswerCommandLine(int argc, char** argv, const char* summary) {
  // Qt's parser names the program from the application; a core one needs no display.
  const QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationVersion(QStringLiteral(PLUMWICK_VERSION));
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(summary));
  // Qt's own help option would also offer Qt's options, which this parser does not take.
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Shows this help and ends."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Shows the version and ends."));
  parser.addOptions({help, version});
  const QString program = QCoreApplication::applicationName();
  QString refusal;
  if (!parser.parse(QCoreApplication::arguments())) {
    refusal = parser.errorText();
  } else if (!parser.positionalArguments().isEmpty()) {
    refusal =
        QStringLiteral("It takes no argument such as '%1'.").arg(parser.positionalArguments()[0]);
  }
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "%s: %s Usage: %s [--help] [--version]\n", qPrintable(program),
                 qPrintable(refusal), qPrintable(program));
    return 2;
  }
  if (parser.isSet(help)) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("%s %s\n", qPrintable(program), PLUMWICK_VERSION);
    return 0;
  }
  return std::nullopt;
}

}  // namespace plumwick
