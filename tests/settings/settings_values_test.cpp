// Preference values a hand-edited or damaged settings file may hold are moved into the ranges
// the session and the transfers can use.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <climits>

#include "settings/Settings.h"

namespace kelvora::settings {
namespace {

TEST(SettingsValues, OutOfRangePreferencesAreClampedWhenRead) {
  struct Case {
    const char* key;
    QString stored;
    int StoredPreferences::*field;
    int expected;
  };
  const Case cases[] = {
      {"Channel", "300", &StoredPreferences::channel, 16},
      {"Channel", "0", &StoredPreferences::channel, 1},
      {"Channel", "-2147483648", &StoredPreferences::channel, 1},
      {"BlockSize", "0", &StoredPreferences::blockSize, 256},
      {"BlockSize", "1000000000", &StoredPreferences::blockSize, 10240},
      {"BlockSize", "99999999999999", &StoredPreferences::blockSize, 256},  // not an int
      {"BlockSize", "4096", &StoredPreferences::blockSize, 4096},
      {"Delay", "-5", &StoredPreferences::delay, 0},
      {"Delay", "2147483647", &StoredPreferences::delay, 4000},
      {"MidiIn", "-9", &StoredPreferences::midiIn, -1},
      {"MidiOut", "-2147483648", &StoredPreferences::midiOut, -1},
      {"MidiIn", "7", &StoredPreferences::midiIn, 7},  // a device that may come back
      {"DownloadFormat", "2", &StoredPreferences::downloadFormat, 2},
      {"DownloadFormat", "3", &StoredPreferences::downloadFormat, 0},  // no such format
      {"DownloadFormat", "-1", &StoredPreferences::downloadFormat, 0},
      {"DownloadRate", "48000", &StoredPreferences::downloadRate, 48000},
      {"DownloadRate", "96000", &StoredPreferences::downloadRate, 0},  // only 44100 and 48000
  };
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  for (const Case& c : cases) {
    const QString path = folder.filePath("k.ini");
    QFile::remove(path);
    {
      QSettings raw(path, QSettings::IniFormat);
      raw.setValue(QString("Preferences/") + c.key, c.stored);
    }
    const StoredPreferences prefs = Settings(path).ReadPreferences({}, {});
    EXPECT_EQ(prefs.*(c.field), c.expected) << c.key << "=" << c.stored.toStdString();
  }
}

// The kernel's sequencer clients pad port names with blanks: a name stored with them and a
// device listed with them are the same device as without.
TEST(SettingsValues, StoredDeviceNamesAreMatchedWithoutTrailingBlanks) {
  const QStringList devices = {"Midi Through:Port-0", "Virtual Raw MIDI 0-0:VirMIDI 0-"};
  EXPECT_EQ(Settings::ResolveDevice(0, "Virtual Raw MIDI 0-0:VirMIDI 0-   ", devices), 1);
  EXPECT_EQ(Settings::ResolveDevice(1, "Virtual Raw MIDI 0-0:VirMIDI 0-\t", devices), 1);
  const QStringList padded = {"Midi Through:Port-0   ", "UM-ONE:MIDI 1  "};
  EXPECT_EQ(Settings::ResolveDevice(0, "UM-ONE:MIDI 1", padded), 1);
  EXPECT_EQ(Settings::ResolveDevice(4, "   ", padded), 4);     // blanks alone name nothing
  EXPECT_EQ(Settings::ResolveDevice(4, "UM-ONE", padded), 4);  // not a name cut short
}

// What another program reads: the devices as the window program stored them, numbers and names
// unresolved, with the transfer values kept within their ranges.
TEST(SettingsValues, TransferDefaultsGiveTheStoredDevicesAndValues) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("k.ini");
  const QStringList inputs = {"Simulated EPS-16 PLUS", "USB MIDI 1"};
  const QStringList outputs = {"USB MIDI 1"};
  {
    StoredPreferences prefs;
    prefs.midiIn = 1;
    prefs.midiOut = -1;
    prefs.channel = 9;
    prefs.blockSize = 2048;
    prefs.delay = 40;
    Settings(path).WritePreferences(prefs, inputs, outputs, "kelvora");
  }
  const TransferDefaults stored = Settings(path).ReadTransferDefaults();
  EXPECT_EQ(stored.midiIn.number, 1);
  EXPECT_EQ(stored.midiIn.name, "USB MIDI 1");
  EXPECT_EQ(stored.midiOut.number, -1);
  EXPECT_EQ(stored.midiOut.name, "");
  EXPECT_EQ(stored.channel, 9);
  EXPECT_EQ(stored.blockSize, 2048);
  EXPECT_EQ(stored.delay, 40);
}

TEST(SettingsValues, TransferDefaultsOfAMissingOrDamagedFile) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const TransferDefaults none = Settings(folder.filePath("none.ini")).ReadTransferDefaults();
  EXPECT_EQ(none.midiIn.number, 0);
  EXPECT_TRUE(none.midiIn.name.isEmpty());
  EXPECT_EQ(none.channel, 1);
  EXPECT_EQ(none.blockSize, kMinBlockSize);
  EXPECT_EQ(none.delay, 0);
  const QString path = folder.filePath("damaged.ini");
  {
    QSettings raw(path, QSettings::IniFormat);
    raw.setValue("Preferences/MidiOut", "-40");
    raw.setValue("Preferences/MidiOutName", "Gone");
    raw.setValue("Preferences/Channel", "17");
    raw.setValue("Preferences/BlockSize", "12x");
    raw.setValue("Preferences/Delay", "99999");
  }
  const TransferDefaults damaged = Settings(path).ReadTransferDefaults();
  EXPECT_EQ(damaged.midiOut.number, -1);
  EXPECT_EQ(damaged.midiOut.name, "Gone");
  EXPECT_EQ(damaged.channel, kMaxChannel);
  EXPECT_EQ(damaged.blockSize, kMinBlockSize);
  EXPECT_EQ(damaged.delay, kMaxDelayMs);
}

}  // namespace
}  // namespace kelvora::settings
