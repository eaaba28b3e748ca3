#pragma once

#include <QComboBox>

namespace kelvora::controls {

// Drop-down of the 16 MIDI channels, lines "1".."16". Channel reads as the selected line + 1,
// so 0 when nothing is selected.
class TChannelComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TChannelComboBox(QWidget* parent = nullptr);

  int Channel() const;
  // Selects line channel - 1; a channel outside 1..16 selects nothing.
  void SetChannel(int channel);

  QSize sizeHint() const override;
};

}  // namespace kelvora::controls
