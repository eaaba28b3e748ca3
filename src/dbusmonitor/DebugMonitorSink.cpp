#include "dbusmonitor/DebugMonitorSink.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace kelvora::diagnostics {
namespace {

const QString kConnectionName = QStringLiteral("kelvora-debug-monitor");

QDBusConnection Bus() { return QDBusConnection(kConnectionName); }

}  // namespace

bool TDebugMonitorSink::Connect() {
  if (connected_) return true;
  QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
  QDBusConnection bus = address.isEmpty() ? QDBusConnection::connectToBus(
                                                QDBusConnection::SessionBus, kConnectionName)
                                          : QDBusConnection::connectToBus(address, kConnectionName);
  connected_ = bus.isConnected();
  // A failed connection stays registered under its name; drop it so a later session retries.
  if (!connected_) QDBusConnection::disconnectFromBus(kConnectionName);
  return connected_;
}

bool TDebugMonitorSink::Open() {
  if (!Connect()) return false;
  QDBusConnectionInterface* bus = Bus().interface();
  if (bus == nullptr) return false;
  QDBusReply<bool> registered = bus->isServiceRegistered(QString::fromLatin1(kService));
  return registered.isValid() && registered.value();
}

void TDebugMonitorSink::Write(std::string_view text) {
  if (!connected_) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kService), QString::fromLatin1(kObjectPath),
      QString::fromLatin1(kInterface), QString::fromLatin1(kMethod));
  call << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  Bus().send(call);
}

void TDebugMonitorSink::Flush() {
  if (!connected_) return;
  QDBusConnectionInterface* bus = Bus().interface();
  if (bus != nullptr) bus->isServiceRegistered(QString::fromLatin1(kService));
}

}  // namespace kelvora::diagnostics
