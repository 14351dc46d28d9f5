// The command line the programs share.
#include "programs/command_line.h"

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

namespace plumwick {

namespace {

QStringList Words(const ClientOption& client) {
  QStringList words;
  for (const std::string& word : client.words) words << QString::fromStdString(word);
  return words;
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv, const char* summary,
                                     ClientOption* client) {
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
  const QStringList words = client != nullptr ? Words(*client) : QStringList();
  const QCommandLineOption client_option(
      QStringLiteral("client"),
      QStringLiteral("Drives this messaging client: %1. Without it, the one that is running.")
          .arg(words.join(QStringLiteral(" or "))),
      QStringLiteral("client"));
  QString usage = QStringLiteral("[--help] [--version]");
  if (client != nullptr) {
    parser.addOption(client_option);
    usage += QStringLiteral(" [--client %1]").arg(words.join(QLatin1Char('|')));
  }
  const QString program = QCoreApplication::applicationName();
  QString refusal;
  if (!parser.parse(QCoreApplication::arguments())) {
    refusal = parser.errorText();
  } else if (!parser.positionalArguments().isEmpty()) {
    refusal =
        QStringLiteral("It takes no argument such as '%1'.").arg(parser.positionalArguments()[0]);
  } else if (client != nullptr && parser.isSet(client_option) &&
             !words.contains(parser.value(client_option))) {
    refusal = QStringLiteral("--client takes %1, not '%2'.")
                  .arg(words.join(QStringLiteral(" or ")), parser.value(client_option));
  }
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "%s: %s Usage: %s %s\n", qPrintable(program), qPrintable(refusal),
                 qPrintable(program), qPrintable(usage));
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
  if (client != nullptr && parser.isSet(client_option)) {
    client->given = parser.value(client_option).toStdString();
  }
  return std::nullopt;
}

}  // namespace plumwick
