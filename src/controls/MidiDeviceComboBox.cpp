#include "controls/MidiDeviceComboBox.h"

#include "controls/DesignScale.h"

namespace kelvora::controls {

namespace {
constexpr int kDesignWidth = 185;
}

MidiDeviceComboBox::MidiDeviceComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
}

int MidiDeviceComboBox::DeviceID() const { return currentIndex(); }

void MidiDeviceComboBox::SetDeviceID(int device) {
  setCurrentIndex(device >= 0 && device < count() ? device : -1);
}

void MidiDeviceComboBox::Refill() {
  clear();
  const int devices = DeviceCount();
  for (int device = 0; device < devices; ++device) addItem(DeviceName(device));
  setCurrentIndex(devices > 0 ? 0 : -1);
}

QSize MidiDeviceComboBox::sizeHint() const {
  QSize hint = QComboBox::sizeHint();
  hint.setWidth(qMax(hint.width(), Design(kDesignWidth, this)));
  return hint;
}

}  // namespace kelvora::controls
