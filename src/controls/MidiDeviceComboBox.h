#pragma once

#include <QComboBox>
#include <QString>

namespace kelvora::controls {

// A drop-down of the MIDI devices of one direction, one line per device in device-number order,
// so line k is device k. DeviceID reads as the selected line, -1 when nothing is selected.
class MidiDeviceComboBox : public QComboBox {
  Q_OBJECT

 public:
  int DeviceID() const;
  // Selects that line; a number with no line (no longer present, or -1) selects nothing.
  void SetDeviceID(int device);

  // Lists the devices the current MIDI driver reports now and selects line 0 (nothing when there
  // are none). Each kind of picker fills itself when it is created.
  void Refill();

  QSize sizeHint() const override;

 protected:
  explicit MidiDeviceComboBox(QWidget* parent);
  virtual int DeviceCount() const = 0;
  virtual QString DeviceName(int device) const = 0;
};

}  // namespace kelvora::controls
