#pragma once

#include <QWidget>
#include <optional>

#include "loops/SeamQuality.h"

namespace kelvora::editor {

// The loop quality mark: a green, yellow or red disc for a smooth, audible or clicking seam,
// grey while the seam is not measured. Its tool tip and accessible name say the same in words.
class SeamMark : public QWidget {
 public:
  explicit SeamMark(QWidget* parent = nullptr);

  // No grade: not measured (no loop, nothing open, or the samples could not be read).
  void SetGrade(std::optional<loops::SeamGrade> grade, double share = 0);
  std::optional<loops::SeamGrade> Grade() const { return grade_; }
  QColor Colour() const;
  // "Seam: smooth (0.4 % of the peak)", "Seam: not measured".
  QString Text() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<loops::SeamGrade> grade_;
  double share_ = 0;
};

}  // namespace kelvora::editor
