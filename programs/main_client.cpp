// plumwick: the program with a real messaging client, reached over the session bus: the one the
// --client option names, or else the one that is running. With none there it says so and ends
// before its window shows; it never falls back to the sandbox client, which would report failures
// as successes.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "clients/gajim/qt/gajim_bus.h"
#include "clients/gajim/qt/gajim_messenger.h"
#include "clients/purple/qt/purple_bus.h"
#include "clients/purple/qt/purple_messenger.h"
#include "platform/failure.h"
#include "platform/qt/font_system_warm_up.h"
#include "programs/client_choice.h"
#include "programs/command_line.h"
#include "programs/desktop_program.h"
#include "programs/end_process.h"

namespace {

using plumwick::ClientKind;

// What --help says the program is for.
constexpr char kSummary[] =
    "A skinned companion window for Pidgin or Gajim, which must be running: set your\n"
    "status, list your contacts, send a prepared message, add and delete contacts, change\n"
    "your display name, and collect the time, date and IP address to copy.";

// A client the program drives: its name on the session bus, and how its client object is made.
struct Offer {
  ClientKind client;
  const char* service;
  plumwick::messenger::MessengerFactory (*factory)();
};

const std::array<Offer, 2> kOffers{{
    {ClientKind::kPidgin, plumwick::purple::kService, &plumwick::purple::PurpleMessengerFactory},
    {ClientKind::kGajim, plumwick::gajim::kService, &plumwick::gajim::GajimMessengerFactory},
}};

std::vector<ClientKind> Offered() {
  std::vector<ClientKind> clients;
  clients.reserve(kOffers.size());
  for (const Offer& offer : kOffers) clients.push_back(offer.client);
  return clients;
}

// Makes the client object of the client chosen among those that own their names on the bus now.
plumwick::messenger::MessengerFactory ChosenClient(std::optional<ClientKind> asked) {
  return [asked](const plumwick::ClientDesktop& desktop) {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
      throw plumwick::Failure(plumwick::error_code::kNoClient,
                              plumwick::NoClientRunningText(Offered()) +
                                  " (the session bus cannot be reached: " +
                                  bus.lastError().message().toStdString() + ")");
    }
    std::vector<ClientKind> running;
    for (const Offer& offer : kOffers) {
      if (bus.interface()->isServiceRegistered(QString::fromLatin1(offer.service)).value()) {
        running.push_back(offer.client);
      }
    }
    // The choice is one of the offers.
    const ClientKind chosen = plumwick::ChooseClient(Offered(), asked, running);
    return std::ranges::find(kOffers, chosen, &Offer::client)->factory()(desktop);
  };
}

int Run(int& argc, char** argv, std::optional<ClientKind> asked) {
  plumwick::FontSystemWarmUp fonts;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("plumwick"));
  fonts.Wait();
  return plumwick::RunDesktopProgram(ChosenClient(asked));
}

}  // namespace

int main(int argc, char** argv) {
  plumwick::ClientOption client{.words = plumwick::ClientWords(Offered())};
  if (const auto answered = plumwick::AnswerCommandLine(argc, argv, kSummary, &client)) {
    return *answered;
  }
  if (!plumwick::CheckDisplay("plumwick")) return EXIT_FAILURE;
  const std::optional<ClientKind> asked =
      client.given ? plumwick::ClientOfWord(*client.given) : std::nullopt;
  // Also after a failed start-up, while the start-up cue's stream may still be being set up.
  plumwick::EndProcess(Run(argc, argv, asked));
}
