#include <QSettings>
#include <QtTest>

#include "dialogs/GotoPrefForm.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/Eps.h"
#include "settings/Settings.h"
#include "support/MainWindowTest.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using namespace kelvora::settings;
using kelvora::testing::FreshSettings;
using kelvora::testing::MakeMainForm;

namespace {

void Store(const QString& path, const QString& key, const QString& value) {
  QSettings settings(path, QSettings::IniFormat);
  settings.setValue(key, value);
}

QString Stored(const QString& path, const QString& key) {
  return QSettings(path, QSettings::IniFormat).value(key).toString();
}

void StoreBounds(const QString& path, const QRect& bounds, int state) {
  Store(path, "MainForm/Left", QString::number(bounds.left()));
  Store(path, "MainForm/Top", QString::number(bounds.top()));
  Store(path, "MainForm/Width", QString::number(bounds.width()));
  Store(path, "MainForm/Height", QString::number(bounds.height()));
  Store(path, "MainForm/WindowState", QString::number(state));
}

}  // namespace

class SettingsTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() { machine_ = std::make_unique<kelvora::testing::NoHardwareMachine>(); }
  void cleanup() { machine_.reset(); }

  void emptySettingsGiveTheDefaultsMaximised() {
    const QString path = FreshSettings(false);
    kelvora::testing::WhenModal<kelvora::dialogs::TGotoPrefForm>(
        [](kelvora::dialogs::TGotoPrefForm* welcome) { welcome->close(); });
    auto form = MakeMainForm(path);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(form->isMaximized());
    QCOMPARE(form->normalGeometry(), QRect(128, 113, 661, 435));
    kelvora::protocol::TEps& eps = form->Eps();
    QCOMPARE(eps.MidiIn->DeviceID(), 0);
    QCOMPARE(eps.MidiOut->DeviceID(), 0);
    QCOMPARE(eps.Channel(), 1);
    QCOMPARE(eps.BlockSize, 256);
    QCOMPARE(eps.Delay, 0);
    QCOMPARE(form->UploadDownloadPath, QString());
  }

  void everythingComesBackAsWritten() {
    const QString path = FreshSettings();
    StoreBounds(path, QRect(40, 50, 600, 400), 0);
    {
      auto form = MakeMainForm(path);
      QVERIFY(!form->isMaximized());
      QCOMPARE(form->geometry(), QRect(40, 50, 600, 400));
      form->setGeometry(60, 70, 640, 420);
      form->Eps().MidiOut->SetChannel(12);
      form->Eps().BlockSize = 5000;
      form->Eps().Delay = 800;
      form->UploadDownloadPath = "/home/user/samples";
      form->close();
    }
    const QString text = kelvora::testing::ReadSettingsFile(path);
    for (const char* line :
         {"Left=60", "Top=70", "Width=640", "Height=420", "WindowState=0", "Channel=12",
          "BlockSize=5000", "Delay=800", "MidiIn=0", "MidiInName=Simulated EPS-16 PLUS",
          "MajorVersion=2", "MinorVersion=4"}) {
      QVERIFY2(text.contains(line), line);
    }
    QVERIFY(!Stored(path, "Preferences/Command").isEmpty());
    auto again = MakeMainForm(path);
    QCOMPARE(again->geometry(), QRect(60, 70, 640, 420));
    QCOMPARE(again->Eps().Channel(), 12);
    QCOMPARE(again->Eps().BlockSize, 5000);
    QCOMPARE(again->Eps().Delay, 800);
    QCOMPARE(again->UploadDownloadPath, QString("/home/user/samples"));
  }

  void closingMaximisedKeepsTheEarlierBounds() {
    const QString path = FreshSettings();
    StoreBounds(path, QRect(30, 40, 500, 300), 0);
    {
      auto form = MakeMainForm(path);
      form->showMaximized();
      QTRY_VERIFY(form->isMaximized());
      form->close();
    }
    QCOMPARE(Stored(path, "MainForm/WindowState"), QString("2"));
    QCOMPARE(Stored(path, "MainForm/Left"), QString("30"));
    QCOMPARE(Stored(path, "MainForm/Width"), QString("500"));
    auto again = MakeMainForm(path);
    QVERIFY(again->isMaximized());
    QCOMPARE(again->normalGeometry(), QRect(30, 40, 500, 300));
    again->close();
    Settings settings(path);
    settings.WriteWindow(2, QRect(0, 0, 1920, 1080));
    settings.WriteWindow(1, QRect(0, 0, 160, 30));
    QCOMPARE(settings.ReadWindow().bounds, QRect(30, 40, 500, 300));
    QCOMPARE(settings.ReadWindow().state, 1);
  }

  void valuesThatAreNotNumbersReadAsDefaults() {
    const QString path = FreshSettings();
    Store(path, "Preferences/Channel", "abc");
    Store(path, "Preferences/BlockSize", "12x");
    Store(path, "MainForm/Width", "");
    Settings settings(path);
    const StoredPreferences prefs = settings.ReadPreferences({}, {});
    QCOMPARE(prefs.channel, 1);
    QCOMPARE(prefs.blockSize, 256);
    QCOMPARE(settings.ReadWindow().bounds.width(), 661);
    auto form = MakeMainForm(path);
    QCOMPARE(form->Eps().Channel(), 1);
  }

  // Edges beyond the int range once made building the window's rectangle overflow.
  void boundsNoWindowCanHaveReadAsDefaults() {
    const QString path = FreshSettings();
    StoreBounds(path, QRect(0, 0, 10, 10), 0);
    Store(path, "MainForm/Left", "-2147483648");
    Store(path, "MainForm/Top", "25");
    Store(path, "MainForm/Width", "2147483647");
    Store(path, "MainForm/Height", "0");
    QCOMPARE(Settings(path).ReadWindow().bounds, QRect(128, 25, 661, 435));
    auto form = MakeMainForm(path);
    QCOMPARE(form->geometry().size(), QSize(661, 435));
  }

  void simulatorKeepsNothingUnlessAStateFileIsSet() {
    const QString path = FreshSettings();
    QCOMPARE(Settings(path).SimulatorStateFile(), QString());
    Store(path, "Simulator/StateFile", " /tmp/eps-memory.bin ");
    QCOMPARE(Settings(path).SimulatorStateFile(), QString("/tmp/eps-memory.bin"));
  }

  void folderOnAFloppyIsNotRemembered_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("stored");
    QTest::newRow("A:") << "a:\\samples"
                        << "/earlier";
    QTest::newRow("B:") << "B:/"
                        << "/earlier";
    QTest::newRow("C:") << "C:\\waves"
                        << "C:\\waves";
    QTest::newRow("home") << "/home/user/waves"
                          << "/home/user/waves";
  }

  void folderOnAFloppyIsNotRemembered() {
    QFETCH(QString, folder);
    const QString path = FreshSettings();
    Store(path, "Preferences/UploadDownloadPath", "/earlier");
    auto form = MakeMainForm(path);
    form->UploadDownloadPath = folder;
    form->close();
    QTEST(Stored(path, "Preferences/UploadDownloadPath"), "stored");
  }

  void renumberedDeviceIsFoundByName() {
    const QStringList devices = {"USB MIDI 1", "Simulated EPS-16 PLUS"};
    QCOMPARE(Settings::ResolveDevice(0, "Simulated EPS-16 PLUS", devices), 1);
    QCOMPARE(Settings::ResolveDevice(1, "Simulated EPS-16 PLUS", devices), 1);
    QCOMPARE(Settings::ResolveDevice(0, "", devices), 0);
    QCOMPARE(Settings::ResolveDevice(3, "Unplugged", devices), 3);
    const QString path = FreshSettings();
    Store(path, "Preferences/MidiOut", "0");
    Store(path, "Preferences/MidiOutName", "Simulated EPS-16 PLUS");
    Settings settings(path);
    QCOMPARE(settings.ReadPreferences(devices, devices).midiOut, 1);
  }

 private:
  std::unique_ptr<kelvora::testing::NoHardwareMachine> machine_;
};

QTEST_MAIN(SettingsTest)
#include "app_settings_test.moc"
