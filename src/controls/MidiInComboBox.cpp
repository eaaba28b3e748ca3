#include "controls/MidiInComboBox.h"

#include "midi/MidiSystem.h"

namespace kelvora::controls {

TMidiInComboBox::TMidiInComboBox(QWidget* parent) : MidiDeviceComboBox(parent) { Refill(); }

int TMidiInComboBox::DeviceCount() const { return midi::CurrentDriver().InputCount(); }

QString TMidiInComboBox::DeviceName(int device) const {
  return QString::fromStdString(midi::CurrentDriver().InputName(device));
}

}  // namespace kelvora::controls
