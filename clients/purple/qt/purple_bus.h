// Pidgin's D-Bus object as this client calls it: plain method calls with explicit argument types
// (the introspection data declares some strings as integers, so no proxy is built from it), each
// addressed to the service's well-known name, so a Pidgin that exits and starts again is reached
// again without anything cached going stale. Every call has a timeout: a Pidgin that hangs makes
// the call fail instead of freezing the window.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

#include "platform/failure.h"

namespace plumwick::purple {

inline constexpr char kService[] = "im.pidgin.purple.PurpleService";
inline constexpr char kObject[] = "/im/pidgin/purple/PurpleObject";
inline constexpr char kInterface[] = "im.pidgin.purple.PurpleInterface";

// Short enough that a failed action is reported within five seconds of the click.
inline constexpr std::chrono::milliseconds kCallTimeout{4000};

// libpurple's handles: 0 is none.
using Handle = std::int32_t;

// Arguments with their D-Bus types spelled out.
inline QVariant Int(std::int32_t value) {
  return QVariant::fromValue<std::int32_t>(value);
}
inline QVariant Str(const QString& value) {
  return QVariant::fromValue(value);
}

// One of Pidgin's signals and the slot of a receiver it goes to (a SLOT() text). Tables of them
// are const, not constexpr: SLOT() records where it was written in debug builds.
struct Subscription {
  const char* signal;
  const char* slot;
};

class PurpleBus {
 public:
  // Throws Failure(kNoClient) when the session bus cannot be reached.
  PurpleBus();

  // Calls a method of Pidgin's interface and returns what it answered. Throws Failure for every
  // D-Bus error (see dbus_failure.h), also for a reply of an unexpected type.
  void Call(const char* method, const QVariantList& args,
            std::int32_t invalid_handle_code = error_code::kClientError);
  std::int32_t CallInt(const char* method, const QVariantList& args,
                       std::int32_t invalid_handle_code = error_code::kClientError);
  QString CallString(const char* method, const QVariantList& args,
                     std::int32_t invalid_handle_code = error_code::kClientError);
  std::vector<std::int32_t> CallIntArray(
      const char* method, const QVariantList& args = {},
      std::int32_t invalid_handle_code = error_code::kClientError);

  // Makes `method` once for each list of arguments, all sent before the first answer is read, and
  // returns the answers in the order of the calls: Pidgin answers a thousand calls in a row far
  // sooner than a thousand round trips. An answer that the handle names nothing (any more) is a
  // null QVariant; every other error throws as above. While the answers come the window keeps
  // painting but takes no input, which would start another action inside this one.
  std::vector<QVariant> CallEach(const char* method, const char* signature,
                                 const std::vector<QVariantList>& args);

  // Delivers each of Pidgin's signals in `table` to its slot of `receiver`, from whichever process
  // owns the service name. Returns the first signal the bus refused; nullptr when none.
  const char* Listen(std::span<const Subscription> table, QObject* receiver);
  void StopListening(std::span<const Subscription> table, QObject* receiver);

  // The process that owns the service name now, asked of the bus each time. Throws
  // Failure(kNoClient) when no process owns it.
  std::int64_t ServiceProcess();
  // Whether some process owns the service name now.
  bool ServiceRunning();

  QDBusConnection& connection() { return connection_; }

 private:
  // Where a call goes: Pidgin's object or the bus's own.
  struct Target {
    const char* service;
    const char* object;
    const char* interface;
  };
  // Every call of this client: `method` of `target`, answered with the D-Bus `signature`.
  QVariantList Reply(const Target& target, const char* method, const char* signature,
                     const QVariantList& args,
                     std::int32_t invalid_handle_code = error_code::kClientError);
  static constexpr Target kPidgin{kService, kObject, kInterface};
  static constexpr Target kBus{"org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus"};

  QDBusConnection connection_;
};

}  // namespace plumwick::purple
