#pragma once

#include "controls/MidiDeviceComboBox.h"

namespace kelvora::controls {

// The MIDI output devices of the current MIDI driver (real devices first, then the simulated
// sampler), for the Preferences dialog.
class TMidiOutComboBox : public MidiDeviceComboBox {
  Q_OBJECT

 public:
  explicit TMidiOutComboBox(QWidget* parent = nullptr);

 protected:
  int DeviceCount() const override;
  QString DeviceName(int device) const override;
};

}  // namespace kelvora::controls
