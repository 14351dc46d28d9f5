// Gajim's side of the session bus as this client calls it: the methods of its remote object and
// the GTK actions of its application and main window. Every call is addressed to the service's
// well-known name, so a Gajim that quits and starts again is reached again, and waits at most
// kCallTimeout in an event loop that keeps the window painting and holds its input back: Gajim
// answers nothing at all when it does not know the account or the address it is asked about, so a
// call must neither freeze the window nor hang on until the bus gives up.
#pragma once

#include <chrono>
#include <cstdint>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "clients/gajim/qt/gajim_failure.h"

namespace plumwick::gajim {

inline constexpr char kService[] = "org.gajim.Gajim";
inline constexpr char kRemoteObject[] = "/org/gajim/dbus/RemoteObject";
inline constexpr char kRemoteInterface[] = "org.gajim.dbus.RemoteInterface";
// Where the application's actions (show, add-contact, <account>-remove-contact, ...) are, and
// the main window's (add-chat).
inline constexpr char kApplicationObject[] = "/org/gajim/Gajim";
inline constexpr char kMainWindowObject[] = "/org/gajim/Gajim/window/1";

// Short enough that a failed action is reported within five seconds of the click.
inline constexpr std::chrono::milliseconds kCallTimeout{4000};

class GajimBus {
 public:
  // Throws Failure(kNoClient) when the session bus cannot be reached.
  GajimBus();

  // Calls a method of Gajim's remote object with string arguments (all its methods take only
  // strings) and returns its answer. Throws Failure for every D-Bus error (gajim_failure.h), also
  // for an answer of another type than the method's.
  bool CallBool(const char* method, const QStringList& args);
  QString CallString(const char* method, const QStringList& args);
  QStringList CallStrings(const char* method, const QStringList& args = {});
  QList<QVariantMap> CallDicts(const char* method, const QStringList& args);
  QMap<QString, QString> CallStringMap(const char* method, const QStringList& args);

  // Activates a GTK action on one of Gajim's objects, with its parameter (empty: none).
  void Activate(const char* object, const QString& action, const QVariantList& parameter = {});

  // Whether some process owns the service name now, asked of the bus each time.
  bool ServiceRunning();
  // The process that owns the service name now. Throws Failure(kNoClient) when none does.
  std::int64_t ServiceProcess();

  // For listening to Gajim's signals.
  QDBusConnection& connection() { return connection_; }

  // Returns once `interval` has passed, the window painting meanwhile and its input held back.
  static void Pause(std::chrono::milliseconds interval);

 private:
  // Every call of this client: answered with the D-Bus `signature`, its arguments returned.
  QVariantList Answer(const QDBusMessage& call, const char* signature, GajimObject object);
  // The bus's own methods, about Gajim's name.
  QVariantList AskBus(const char* method, const char* signature);

  QDBusConnection connection_;
};

}  // namespace plumwick::gajim
