#include "settings/Settings.h"

#include <QStandardPaths>
#include <algorithm>

#include "KelvoraVersion.h"

namespace kelvora::settings {

namespace {

// Sequencer clients pad their port names with blanks, and earlier versions stored them so.
QString WithoutTrailingBlanks(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.left(end);
}

const char kFirstRunKey[] = "FirstRunDone";
const char kNameSuffix[] = "Name";
// The largest width or height a window can have; with positions kept within it as well, an
// edge (position + size - 1) never leaves the int range.
constexpr int kMaxWindowExtent = 16777215;
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
  const QString wanted = WithoutTrailingBlanks(name);
  if (wanted.isEmpty()) return number;
  const auto same = [&](int i) { return WithoutTrailingBlanks(devices[i]) == wanted; };
  if (number >= 0 && number < devices.size() && same(number)) return number;
  for (int i = 0; i < devices.size(); ++i) {
    if (same(i)) return i;
  }
  return number;
}

StoredDevice Settings::ReadDevice(const QString& key) {
  // -1 is "no device"; lower numbers name nothing either.
  return {std::max(ReadInt(key, 0), -1), settings_.value(key + kNameSuffix).toString()};
}

void Settings::WriteDevice(const QString& key, int number, const QStringList& devices) {
  WriteInt(key, number);
  settings_.setValue(key + kNameSuffix,
                     number >= 0 && number < devices.size() ? devices[number] : QString());
}

TransferDefaults Settings::ReadTransferDefaults() {
  const TransferDefaults defaults;
  TransferDefaults stored;
  stored.midiIn = ReadDevice("Preferences/MidiIn");
  stored.midiOut = ReadDevice("Preferences/MidiOut");
  stored.channel = ReadClamped("Preferences/Channel", defaults.channel, kMinChannel, kMaxChannel);
  stored.blockSize =
      ReadClamped("Preferences/BlockSize", defaults.blockSize, kMinBlockSize, kMaxBlockSize);
  stored.delay = ReadClamped("Preferences/Delay", defaults.delay, 0, kMaxDelayMs);
  return stored;
}

StoredPreferences Settings::ReadPreferences(const QStringList& inputs, const QStringList& outputs) {
  const TransferDefaults stored = ReadTransferDefaults();
  StoredPreferences prefs;
  prefs.midiIn = ResolveDevice(stored.midiIn.number, stored.midiIn.name, inputs);
  prefs.midiOut = ResolveDevice(stored.midiOut.number, stored.midiOut.name, outputs);
  prefs.channel = stored.channel;
  prefs.blockSize = stored.blockSize;
  prefs.delay = stored.delay;
  prefs.uploadDownloadPath = settings_.value("Preferences/UploadDownloadPath").toString();
  prefs.downloadFormat = ReadIntWithin("Preferences/DownloadFormat", 0, 0, 2);
  const int rate = ReadInt("Preferences/DownloadRate", 0);
  prefs.downloadRate = rate == 44100 || rate == 48000 ? rate : 0;
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
  WriteInt("Preferences/DownloadFormat", prefs.downloadFormat);
  WriteInt("Preferences/DownloadRate", prefs.downloadRate);
  WriteInt("Preferences/MajorVersion", KELVORA_VERSION_MAJOR);
  WriteInt("Preferences/MinorVersion", KELVORA_VERSION_MINOR);
  if (FolderWorthSaving(prefs.uploadDownloadPath)) {
    settings_.setValue("Preferences/UploadDownloadPath", prefs.uploadDownloadPath);
  }
  settings_.setValue("Preferences/Command", command);
}

void Settings::Sync() { settings_.sync(); }

QString Settings::SimulatorStateFile() {
  return settings_.value("Simulator/StateFile").toString().trimmed();
}

}  // namespace kelvora::settings
