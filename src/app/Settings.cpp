#include "app/Settings.h"

#include <QStandardPaths>
#include <algorithm>

#include "dialogs/AboutForm.h"

namespace kelvora::app {

namespace {
const char kFirstRunKey[] = "FirstRunDone";
const char kNameSuffix[] = "Name";
// The largest width or height a window can have; with positions kept within it as well, an
// edge (position + size - 1) never leaves the int range.
constexpr int kMaxWindowExtent = 16777215;
// What the transfers can use: samples per block and milliseconds before each upload block.
constexpr int kMinBlockSize = 256;
constexpr int kMaxBlockSize = 10240;
constexpr int kMaxDelayMs = 4000;
}  // namespace

Settings::Settings(const QString& iniPath) : settings_(iniPath, QSettings::IniFormat) {}

QString Settings::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/Kelvora/Kelvora.ini";
}

bool Settings::TakeFirstRun() {
  const bool first = !settings_.contains(kFirstRunKey);
  if (first) {
    settings_.setValue(kFirstRunKey, "1");
    settings_.sync();
  }
  return first;
}

int Settings::ReadInt(const QString& key, int defaultValue) {
  bool ok = false;
  const int value = settings_.value(key).toString().toInt(&ok, 10);
  return ok ? value : defaultValue;
}

void Settings::WriteInt(const QString& key, int value) {
  settings_.setValue(key, QString::number(value));
}

int Settings::ReadClamped(const QString& key, int defaultValue, int lowest, int highest) {
  return std::clamp(ReadInt(key, defaultValue), lowest, highest);
}

int Settings::ReadIntWithin(const QString& key, int defaultValue, int lowest, int highest) {
  const int value = ReadInt(key, defaultValue);
  return value >= lowest && value <= highest ? value : defaultValue;
}

WindowPlacement Settings::ReadWindow() {
  const WindowPlacement defaults;
  WindowPlacement placement;
  const int far = kMaxWindowExtent;
  placement.bounds = QRect(ReadIntWithin("MainForm/Left", defaults.bounds.left(), -far, far),
                           ReadIntWithin("MainForm/Top", defaults.bounds.top(), -far, far),
                           ReadIntWithin("MainForm/Width", defaults.bounds.width(), 1, far),
                           ReadIntWithin("MainForm/Height", defaults.bounds.height(), 1, far));
  placement.state = ReadInt("MainForm/WindowState", defaults.state);
  return placement;
}

void Settings::WriteWindow(int state, const QRect& bounds) {
  WriteInt("MainForm/WindowState", state);
  if (state != 0) return;
  WriteInt("MainForm/Left", bounds.left());
  WriteInt("MainForm/Top", bounds.top());
  WriteInt("MainForm/Width", bounds.width());
  WriteInt("MainForm/Height", bounds.height());
}

int Settings::ResolveDevice(int number, const QString& name, const QStringList& devices) {
  if (name.isEmpty()) return number;
  if (number >= 0 && number < devices.size() && devices[number] == name) return number;
  const int moved = devices.indexOf(name);
  return moved >= 0 ? moved : number;
}

int Settings::ReadDevice(const QString& key, const QStringList& devices) {
  const int number = ReadInt(key, 0);
  return ResolveDevice(number, settings_.value(key + kNameSuffix).toString(), devices);
}

void Settings::WriteDevice(const QString& key, int number, const QStringList& devices) {
  WriteInt(key, number);
  settings_.setValue(key + kNameSuffix,
                     number >= 0 && number < devices.size() ? devices[number] : QString());
}

StoredPreferences Settings::ReadPreferences(const QStringList& inputs, const QStringList& outputs) {
  const StoredPreferences defaults;
  StoredPreferences prefs;
  // -1 is "no device"; lower numbers name nothing either.
  prefs.midiIn = std::max(ReadDevice("Preferences/MidiIn", inputs), -1);
  prefs.midiOut = std::max(ReadDevice("Preferences/MidiOut", outputs), -1);
  prefs.channel = ReadClamped("Preferences/Channel", defaults.channel, 1, 16);
  prefs.blockSize =
      ReadClamped("Preferences/BlockSize", defaults.blockSize, kMinBlockSize, kMaxBlockSize);
  prefs.delay = ReadClamped("Preferences/Delay", defaults.delay, 0, kMaxDelayMs);
  prefs.uploadDownloadPath = settings_.value("Preferences/UploadDownloadPath").toString();
  return prefs;
}

bool Settings::FolderWorthSaving(const QString& folder) {
  const QString drive = folder.left(2).toUpper();
  return drive != "A:" && drive != "B:";
}

void Settings::WritePreferences(const StoredPreferences& prefs, const QStringList& inputs,
                                const QStringList& outputs, const QString& command) {
  WriteDevice("Preferences/MidiIn", prefs.midiIn, inputs);
  WriteDevice("Preferences/MidiOut", prefs.midiOut, outputs);
  WriteInt("Preferences/Channel", prefs.channel);
  WriteInt("Preferences/BlockSize", prefs.blockSize);
  WriteInt("Preferences/Delay", prefs.delay);
  WriteInt("Preferences/MajorVersion", dialogs::kMajorVersion);
  WriteInt("Preferences/MinorVersion", dialogs::kMinorVersion);
  if (FolderWorthSaving(prefs.uploadDownloadPath)) {
    settings_.setValue("Preferences/UploadDownloadPath", prefs.uploadDownloadPath);
  }
  settings_.setValue("Preferences/Command", command);
}

void Settings::Sync() { settings_.sync(); }

QString Settings::SimulatorStateFile() {
  return settings_.value("Simulator/StateFile").toString().trimmed();
}

}  // namespace kelvora::app
