#pragma once

#include <QRect>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace kelvora::settings {

// What the transfers can use: MIDI channels, samples per block and milliseconds before each
// upload block.
inline constexpr int kMinChannel = 1;
inline constexpr int kMaxChannel = 16;
inline constexpr int kMinBlockSize = 256;
inline constexpr int kMaxBlockSize = 10240;
inline constexpr int kMaxDelayMs = 4000;

// Main-window placement: window state 0 normal, 1 minimised, 2 maximised.
struct WindowPlacement {
  QRect bounds{128, 113, 661, 435};
  int state = 2;
};

// What the Preferences section holds. Device numbers index the current device lists; -1 none.
struct StoredPreferences {
  int midiIn = 0;
  int midiOut = 0;
  int channel = 1;      // 1..16
  int blockSize = 256;  // samples per transfer block
  int delay = 0;        // ms before each upload block
  QString uploadDownloadPath;
  int downloadFormat = 0;  // the file a download writes: 0 WAV, 1 FLAC, 2 AIFF
  int downloadRate = 0;    // 0: the rate the sampler plays; else 44100 or 48000 Hz
};

// A MIDI device as the preferences remember it: its number in the device list of the day it
// was chosen (-1 none) and its name then (empty when the file records none).
struct StoredDevice {
  int number = 0;
  QString name;
};

// The preferences a transfer needs, read without this machine's device lists, for a program
// that lists and matches the devices its own way. Values are kept within their ranges.
struct TransferDefaults {
  StoredDevice midiIn;
  StoredDevice midiOut;
  int channel = 1;
  int blockSize = 256;
  int delay = 0;
};

// The settings file ~/.config/Kelvora/Kelvora.ini with the groups "MainForm" and "Preferences".
// Every number is written as decimal text; a value that is missing or not a decimal integer
// reads as its default, and so does a window position or size no window can have; channel,
// block size and delay out of their ranges read as the nearest value within them. Device
// names are kept next to their numbers, because ALSA renumbers ports when devices come and go.
// Needs no application object, so any program can read the same file.
class Settings {
 public:
  explicit Settings(const QString& iniPath);
  static QString DefaultPath();

  // True when no earlier start is recorded; records this one at once.
  bool TakeFirstRun();

  WindowPlacement ReadWindow();
  // The bounds are written only for a normal window, so a maximised or minimised window keeps
  // the last normal bounds.
  void WriteWindow(int state, const QRect& bounds);

  StoredPreferences ReadPreferences(const QStringList& inputs, const QStringList& outputs);
  TransferDefaults ReadTransferDefaults();
  void WritePreferences(const StoredPreferences& prefs, const QStringList& inputs,
                        const QStringList& outputs, const QString& command);

  // The stored number, unless it now names another device and the stored name is listed under
  // another number. Names are compared without their trailing blanks.
  static int ResolveDevice(int number, const QString& name, const QStringList& devices);
  // A folder on a floppy drive (A: or B:) is never remembered.
  static bool FolderWorthSaving(const QString& folder);

  int ReadInt(const QString& key, int defaultValue);
  // Where the simulated sampler keeps its memory between runs ("Simulator/StateFile"); empty,
  // the default, keeps nothing.
  QString SimulatorStateFile();
  void Sync();
  QString Path() const { return settings_.fileName(); }

 private:
  void WriteInt(const QString& key, int value);
  int ReadIntWithin(const QString& key, int defaultValue, int lowest, int highest);
  // The stored number moved into lowest..highest.
  int ReadClamped(const QString& key, int defaultValue, int lowest, int highest);
  void WriteDevice(const QString& key, int number, const QStringList& devices);
  StoredDevice ReadDevice(const QString& key);

  QSettings settings_;
};

}  // namespace kelvora::settings
