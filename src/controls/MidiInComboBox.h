#pragma once

#include "controls/MidiDeviceComboBox.h"

namespace kelvora::controls {

// The MIDI input devices of the current MIDI driver (real devices first, then the simulated
// sampler), for the Preferences dialog.
class TMidiInComboBox : public MidiDeviceComboBox {
  Q_OBJECT

 public:
  explicit TMidiInComboBox(QWidget* parent = nullptr);

 protected:
  int DeviceCount() const override;
  QString DeviceName(int device) const override;
};

}  // namespace kelvora::controls
