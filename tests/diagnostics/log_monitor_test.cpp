#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <functional>

#include "dbusmonitor/DebugMonitorSink.h"
#include "diagnostics/Debugdevice.h"
#include "diagnostics/log_support.h"

namespace kelvora::diagnostics::test {
namespace {

// A monitor as another program would offer it: it owns the service name and collects the
// text of every "Write" call.
class Monitor : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.interface() != TDebugMonitorSink::kInterface ||
        message.member() != TDebugMonitorSink::kMethod)
      return false;
    received += message.arguments().value(0).toString();
    bus.send(message.createReply());
    if (onWrite) onWrite();
    return true;
  }

  QString received;
  std::function<void()> onWrite;
};

class MonitorLog : public LogTest {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "log_monitor_test";
    static char* argv[] = {name, nullptr};
    app_ = new QCoreApplication(argc, argv);
    TDebugDevice::InstallMonitor(std::make_unique<TDebugMonitorSink>());
  }
  static void TearDownTestSuite() {
    TDebugDevice::InstallMonitor(nullptr);
    delete app_;
    app_ = nullptr;
  }

  void SetUp() override {
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
      GTEST_SKIP() << "dbus-daemon is not installed: no private session bus for the monitor";
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(daemon_.waitForStarted(5000));
    ASSERT_TRUE(daemon_.waitForReadyRead(5000));
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    ASSERT_FALSE(address_.isEmpty());
  }
  void TearDown() override {
    log_.Close();
    QDBusConnection::disconnectFromBus("monitor");
    daemon_.kill();
    daemon_.waitForFinished(5000);
  }

  // Runs the event loop until the monitor holds `text`, at most five seconds.
  bool WaitForText(Monitor& monitor, const QString& text) {
    QEventLoop loop;
    monitor.onWrite = [&] {
      if (monitor.received.contains(text)) loop.quit();
    };
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    if (!monitor.received.contains(text)) loop.exec();
    monitor.onWrite = nullptr;
    return monitor.received.contains(text);
  }

  static QCoreApplication* app_;
  QProcess daemon_;
  QString address_;
};

QCoreApplication* MonitorLog::app_ = nullptr;

// One test, because the log keeps its bus connection once made, as the program does.
TEST_F(MonitorLog, SessionOpensOnlyOnABusWithTheMonitorRegistered) {
  {
    ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (temp_ / "no-bus"));
    StartSession(dmWindow);
    EXPECT_FALSE(TDebugDevice::SessionOpen()) << "no bus";
  }

  ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", address_.toStdString());
  StartSession(dmWindow);
  EXPECT_FALSE(TDebugDevice::SessionOpen()) << "bus without the monitor";

  Monitor monitor;
  QDBusConnection monitorBus = QDBusConnection::connectToBus(address_, "monitor");
  ASSERT_TRUE(monitorBus.registerService(TDebugMonitorSink::kService));
  ASSERT_TRUE(monitorBus.registerVirtualObject(TDebugMonitorSink::kObjectPath, &monitor));

  StartSession(dmWindow);
  ASSERT_TRUE(TDebugDevice::SessionOpen());
  WriteDebugLine(&log_, "State :2");
  log_.Write("f7 ");
  log_.Close();

  QString expected = QString::fromStdString(kStartBanner + "State :2\r\nf7 " + kEndBanner);
  EXPECT_TRUE(WaitForText(monitor, expected));
  EXPECT_EQ(monitor.received, expected);

  // The monitor goes away during a session: the writes fail and are ignored.
  StartSession(dmWindow);
  ASSERT_TRUE(TDebugDevice::SessionOpen());
  monitorBus.unregisterService(TDebugMonitorSink::kService);
  WriteDebugLine(&log_, "nobody listens");
  log_.Close();
  EXPECT_FALSE(TDebugDevice::SessionOpen());
}

}  // namespace
}  // namespace kelvora::diagnostics::test
