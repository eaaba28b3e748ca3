#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "dialogs/ScaleNode.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMouseEvent;
class QPainter;
class QPushButton;
class QScrollBar;

namespace kelvora::dialogs {

class TScaleBox;

// "Scale Data": the user draws a gain envelope (0.0 .. 2.0) over the selected range as a polyline
// of nodes and picks the depth; the caller reads the nodes back as (sample position, level) pairs.
class TScaleDataForm : public QDialog {
  Q_OBJECT

 public:
  explicit TScaleDataForm(QWidget* parent = nullptr);
  ~TScaleDataForm() override;

  // Starts a fresh flat envelope at gain 1.0 over first .. last and returns 1 (OK) or 2 (Cancel).
  // The box geometry is taken from the box's size at this moment.
  int Execute(int first, int last);

  // The i-th node from the left as a sample position and a level (two 7-bit halves of 0..256,
  // where 128 is gain 1.0); false when there is no i-th node.
  bool GetNode(int i, int& position, int& level) const;

  QScrollBar* DepthScrollBar();  // 0..6, read after OK
  QWidget* ScaleBox();           // the paint box
  QLabel* DepthLabel();
  QFrame* ScrollBox();  // the framed box around ScaleBox
  QPushButton* OkButton();
  QPushButton* CancelButton();
  QAction* DeleteNode1();  // "Delete Node", Del

  int NodeCount() const;
  const TScaleNode* Node(int i) const;  // nullptr when there is no i-th node
  int SelectedIndex() const;            // -1 when no node is selected
  int BoxLeft() const { return boxLeft_; }
  int BoxRight() const { return boxRight_; }
  int BoxTop() const { return boxTop_; }
  int BoxBottom() const { return boxBottom_; }

  void reject() override;

 private:
  void BuildControls();
  void PlaceControls();
  void ResetEnvelope();
  TScaleNode* AddNode(int x, int y, TScaleNode* before);
  int MidRow() const;
  void CentreOnScreen();

  void ScaleBoxPaint(QPainter& painter);
  void ScaleBoxMouseDown(QMouseEvent* event);
  void ScaleBoxMouseMove(QMouseEvent* event);
  void ScaleBoxMouseUp(QMouseEvent* event);
  void DeleteNode1Click();
  void DepthScrollBarChange(int position);

  QFrame* scrollBox_ = nullptr;
  TScaleBox* scaleBox_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label4_ = nullptr;
  QScrollBar* depthScrollBar_ = nullptr;
  QLabel* depthLabel_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* button2_ = nullptr;
  QMenu* popupMenu_ = nullptr;
  QAction* deleteNode1_ = nullptr;

  std::vector<std::unique_ptr<TScaleNode>> nodes_;  // owns every node; order is not list order
  TScaleNode* firstNode_ = nullptr;
  TScaleNode* selectedNode_ = nullptr;
  bool dragging_ = false;
  int rangeFirst_ = 0;
  int rangeLast_ = 0;
  int boxLeft_ = 3;
  int boxRight_ = 3;
  int boxTop_ = 3;
  int boxBottom_ = 3;
};

}  // namespace kelvora::dialogs
