#include "controls/ChannelComboBox.h"

#include "controls/DesignScale.h"

namespace kelvora::controls {

namespace {
constexpr int kChannels = 16;
constexpr int kDesignWidth = 41;
}  // namespace

TChannelComboBox::TChannelComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  for (int channel = 1; channel <= kChannels; ++channel) addItem(QString::number(channel));
  setCurrentIndex(0);
}

int TChannelComboBox::Channel() const { return currentIndex() + 1; }

void TChannelComboBox::SetChannel(int channel) {
  setCurrentIndex(channel >= 1 && channel <= kChannels ? channel - 1 : -1);
}

QSize TChannelComboBox::sizeHint() const {
  QSize hint = QComboBox::sizeHint();
  hint.setWidth(qMax(hint.width(), Design(kDesignWidth, this)));
  return hint;
}

}  // namespace kelvora::controls
