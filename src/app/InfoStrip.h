#pragma once

#include <QWidget>
#include <array>

class QLabel;
class QSpinBox;

namespace kelvora::editor {
class SeamMark;
}

namespace kelvora::app {

// The four positions of a wavesample that the user can type in.
enum class MarkerPoint { SampleStart, SampleEnd, LoopStart, LoopEnd };

// The strip under the waveform view: the open wavesample's name, length, rate, root key, key
// range and playback mode, its sample and loop points as numbers that can be typed in, and the
// loop quality mark beside the loop numbers. A number typed and confirmed (Enter, or leaving the
// field) is reported; what becomes of it is the caller's.
class InfoStrip : public QWidget {
  Q_OBJECT

 public:
  explicit InfoStrip(QWidget* parent = nullptr);

  // The record of the open wavesample; nothing open (`open` false) empties and disables the
  // strip. The loop numbers are offered only while the loop is on.
  void ShowRecord(bool open, const int* wsRecord);
  // The loop numbers alone, e.g. while a loop point is being moved in the seam view.
  void ShowLoop(int loopStart, int loopEnd);

  QSpinBox* Field(MarkerPoint point) const { return fields_[static_cast<int>(point)]; }
  QLabel* Facts() const { return facts_; }
  editor::SeamMark* Mark() const { return mark_; }
  QLabel* MarkText() const { return markText_; }
  // Shows the mark's words beside it.
  void UpdateMarkText();

 Q_SIGNALS:
  void PointTyped(MarkerPoint point, int position);

 private:
  void BuildLayout();
  void Confirmed(MarkerPoint point);
  void SetField(MarkerPoint point, int value);

  QLabel* facts_;
  std::array<QSpinBox*, 4> fields_{};
  std::array<QLabel*, 4> labels_{};
  editor::SeamMark* mark_;
  QLabel* markText_;
};

}  // namespace kelvora::app
