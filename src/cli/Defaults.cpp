#include "cli/Defaults.h"

#include <QFileInfo>

#include "settings/Settings.h"

namespace kelvora::cli {

namespace {

QStringList Names(const std::vector<std::string>& names) {
  QStringList list;
  for (const std::string& name : names) list << QString::fromStdString(name);
  return list;
}

}  // namespace

Defaults ReadDefaults(const std::string& path, const std::vector<std::string>& inputs,
                      const std::vector<std::string>& outputs) {
  const QString file = QString::fromStdString(path);
  if (path.empty() || !QFileInfo(file).isFile()) return {};
  settings::Settings stored(file);
  const settings::StoredPreferences prefs = stored.ReadPreferences(Names(inputs), Names(outputs));
  Defaults defaults;
  defaults.midiIn = prefs.midiIn;
  defaults.midiOut = prefs.midiOut;
  defaults.channel = prefs.channel;
  defaults.blockSize = prefs.blockSize;
  defaults.delay = prefs.delay;
  defaults.simulatorState = stored.SimulatorStateFile().toStdString();
  return defaults;
}

}  // namespace kelvora::cli
