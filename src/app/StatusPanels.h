#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QStackedLayout;

namespace kelvora::app {

// What the five panels show.
struct StatusState {
  bool wsOpen = false;
  bool loopOn = false;
  int sampleStart = 0;
  int sampleEnd = 0;
  int loopStart = 0;
  int loopEnd = 0;
  bool hasSelection = false;
  int selStart = 0;
  int selEnd = 0;
};

using PanelTexts = std::array<QString, 5>;

// The main window's status bar: five panels (sample start, sample end, loop start, loop end,
// selection range) of 75 design pixels, each widened where the font needs more for the largest
// number it can show; or, while a hint is shown, one simple panel with the hint.
class StatusPanels : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPanels = 5;
  static constexpr int kNoPanel = -1;

  explicit StatusPanels(QWidget* parent = nullptr);

  static PanelTexts Texts(const StatusState& state);

  void SetTexts(const PanelTexts& texts);
  QString Text(int panel) const;
  // A non-empty hint replaces the panels; an empty one brings them back.
  void ShowHint(const QString& hint);
  bool HintMode() const;
  QString Hint() const;

  int PanelWidth(int panel) const { return widths_[panel]; }
  // The panel under horizontal position x, or kNoPanel right of the last one.
  int PanelAt(int x) const;

  // Receives the panel hit by a press of any mouse button.
  void SetOnPanelPressed(std::function<void(int panel)> handler);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::array<QLabel*, kPanels> panels_{};
  std::array<int, kPanels> widths_{};
  QLabel* hint_;
  QStackedLayout* stack_;
  std::function<void(int)> onPanelPressed_;
};

}  // namespace kelvora::app
