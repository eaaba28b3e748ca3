// Preference values a hand-edited or damaged settings file may hold are moved into the ranges
// the session and the transfers can use.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <climits>

#include "app/Settings.h"

namespace kelvora::app {
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

}  // namespace
}  // namespace kelvora::app
