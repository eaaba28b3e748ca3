#include "controls/MidiOutComboBox.h"

#include "midi/MidiSystem.h"

namespace kelvora::controls {

TMidiOutComboBox::TMidiOutComboBox(QWidget* parent) : MidiDeviceComboBox(parent) { Refill(); }

int TMidiOutComboBox::DeviceCount() const { return midi::CurrentDriver().OutputCount(); }

QString TMidiOutComboBox::DeviceName(int device) const {
  return QString::fromStdString(midi::CurrentDriver().OutputName(device));
}

}  // namespace kelvora::controls
