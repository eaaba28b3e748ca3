#include "dialogs/ScaleDataForm.h"

#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cstdint>

#include "dialogs/ScaleBox.h"
#include "protocol/SessionUi.h"

namespace kelvora::dialogs {

namespace {

constexpr int kMargin = 3;       // pixels kept free around the envelope inside the box
constexpr int kHitRadius = 5;    // a press this close to a node's column picks the node
constexpr int kInsertGap = 11;   // a new node keeps this distance from both neighbours
constexpr int kDragGap = 4;      // a dragged node keeps this distance from both neighbours
constexpr int kHalfSquare = 3;   // nodes are drawn as 6 x 6 squares
constexpr int kFullScale = 256;  // level of gain 2.0; 128 is gain 1.0

QLabel* NewLabel(const char* text, Qt::Alignment alignment, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setAlignment(alignment);
  return label;
}

}  // namespace

TScaleDataForm::TScaleDataForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Scale Data"));
  setFixedSize(469, 178);
  BuildControls();
  PlaceControls();
  DepthScrollBarChange(depthScrollBar_->value());
}

TScaleDataForm::~TScaleDataForm() = default;

void TScaleDataForm::BuildControls() {
  scrollBox_ = new QFrame(this);
  scrollBox_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  scrollBox_->setLineWidth(2);
  scrollBox_->setGeometry(32, 8, 321, 129);
  scaleBox_ = new TScaleBox(scrollBox_);
  scaleBox_->OnPaint = [this](QPainter& painter) { ScaleBoxPaint(painter); };
  scaleBox_->OnMouseDown = [this](QMouseEvent* event) { ScaleBoxMouseDown(event); };
  scaleBox_->OnMouseMove = [this](QMouseEvent* event) { ScaleBoxMouseMove(event); };
  scaleBox_->OnMouseUp = [this](QMouseEvent* event) { ScaleBoxMouseUp(event); };

  label1_ = NewLabel("2.0", Qt::AlignRight | Qt::AlignVCenter, this);
  label2_ = NewLabel("1.0", Qt::AlignRight | Qt::AlignVCenter, this);
  label3_ = NewLabel("0.0", Qt::AlignRight | Qt::AlignVCenter, this);
  label4_ = NewLabel("Depth", Qt::AlignLeft | Qt::AlignVCenter, this);
  label4_->setGeometry(32, 148, 40, 17);
  depthScrollBar_ = new QScrollBar(Qt::Horizontal, this);
  depthScrollBar_->setRange(0, 6);
  depthScrollBar_->setPageStep(1);
  depthScrollBar_->setGeometry(76, 148, 185, 17);
  depthLabel_ = NewLabel("", Qt::AlignLeft | Qt::AlignVCenter, this);
  depthLabel_->setGeometry(269, 148, 84, 17);

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setGeometry(376, 8, 81, 25);
  okButton_->setDefault(true);
  button2_ = new QPushButton(QStringLiteral("Cancel"), this);
  button2_->setGeometry(376, 40, 81, 25);

  // The menu only carries the Del shortcut; nothing ever pops it up.
  popupMenu_ = new QMenu(this);
  deleteNode1_ = popupMenu_->addAction(QStringLiteral("Delete Node"));
  deleteNode1_->setShortcut(QKeySequence(Qt::Key_Delete));
  deleteNode1_->setShortcutContext(Qt::WindowShortcut);
  addAction(deleteNode1_);
  scaleBox_->setContextMenuPolicy(Qt::NoContextMenu);

  connect(okButton_, &QPushButton::clicked, this, [this] { done(protocol::mrOk); });
  connect(button2_, &QPushButton::clicked, this, &TScaleDataForm::reject);
  connect(deleteNode1_, &QAction::triggered, this, &TScaleDataForm::DeleteNode1Click);
  connect(depthScrollBar_, &QScrollBar::valueChanged, this, &TScaleDataForm::DepthScrollBarChange);
}

// The box fills the frame's client area; the gain labels follow its top, middle and bottom rows.
void TScaleDataForm::PlaceControls() {
  scaleBox_->setGeometry(scrollBox_->contentsRect());
  const int boxTop = scrollBox_->y() + scaleBox_->y();
  const int height = scaleBox_->height();
  const int rows[] = {kMargin, kMargin + (height - 2 * kMargin) / 2, height - kMargin};
  QLabel* labels[] = {label1_, label2_, label3_};
  for (int i = 0; i < 3; ++i)
    labels[i]->setGeometry(0, boxTop + rows[i] - 8, scrollBox_->x() - 4, 16);
}

QScrollBar* TScaleDataForm::DepthScrollBar() { return depthScrollBar_; }
QWidget* TScaleDataForm::ScaleBox() { return scaleBox_; }
QLabel* TScaleDataForm::DepthLabel() { return depthLabel_; }
QFrame* TScaleDataForm::ScrollBox() { return scrollBox_; }
QPushButton* TScaleDataForm::OkButton() { return okButton_; }
QPushButton* TScaleDataForm::CancelButton() { return button2_; }
QAction* TScaleDataForm::DeleteNode1() { return deleteNode1_; }

void TScaleDataForm::reject() { done(protocol::mrCancel); }

int TScaleDataForm::Execute(int first, int last) {
  dragging_ = false;
  selectedNode_ = nullptr;
  rangeFirst_ = first;
  rangeLast_ = last;
  PlaceControls();
  // A box too small to hold an envelope still gets a distinct left/right and top/bottom.
  boxLeft_ = kMargin;
  boxRight_ = std::max(scaleBox_->width() - kMargin, boxLeft_ + 1);
  boxTop_ = kMargin;
  boxBottom_ = std::max(scaleBox_->height() - kMargin, boxTop_ + 1);
  ResetEnvelope();
  okButton_->setFocus();
  CentreOnScreen();
  return exec() == protocol::mrOk ? protocol::mrOk : protocol::mrCancel;
}

void TScaleDataForm::ResetEnvelope() {
  nodes_.clear();
  firstNode_ = nullptr;
  TScaleNode* last = AddNode(boxRight_, MidRow(), nullptr);
  firstNode_ = AddNode(boxLeft_, MidRow(), last);
}

// Creates a node and links it in just before `before` (at the end when `before` is none).
TScaleNode* TScaleDataForm::AddNode(int x, int y, TScaleNode* before) {
  auto owned = std::make_unique<TScaleNode>();
  TScaleNode* node = owned.get();
  nodes_.push_back(std::move(owned));
  node->X = x;
  node->Y = y;
  node->Next = before;
  if (before != nullptr) {
    node->Prev = before->Prev;
    before->Prev = node;
  }
  if (node->Prev != nullptr) node->Prev->Next = node;
  if (before == firstNode_) firstNode_ = node;
  return node;
}

int TScaleDataForm::MidRow() const { return boxTop_ + (boxBottom_ - boxTop_) / 2; }

int TScaleDataForm::NodeCount() const {
  int count = 0;
  for (const TScaleNode* node = firstNode_; node != nullptr; node = node->Next) ++count;
  return count;
}

const TScaleNode* TScaleDataForm::Node(int i) const {
  if (i < 0) return nullptr;
  const TScaleNode* node = firstNode_;
  for (; node != nullptr && i > 0; --i) node = node->Next;
  return node;
}

int TScaleDataForm::SelectedIndex() const {
  int index = 0;
  for (const TScaleNode* node = firstNode_; node != nullptr; node = node->Next, ++index) {
    if (node == selectedNode_) return index;
  }
  return -1;
}

bool TScaleDataForm::GetNode(int i, int& position, int& level) const {
  const TScaleNode* node = Node(i);
  if (node == nullptr) return false;
  const int64_t span = int64_t{rangeLast_} - rangeFirst_;
  position = static_cast<int>(rangeFirst_ + span * (node->X - boxLeft_) / (boxRight_ - boxLeft_));
  int l = kFullScale - ((node->Y - boxTop_) * kFullScale) / (boxBottom_ - boxTop_);
  // A node placed in the bottom margin would give a negative level, which the sampler would
  // read as a huge one once split into data bytes; below the 0.0 line is silence.
  l = std::max(l, 0);
  level = (l % 128) + 256 * (l / 128);
  return true;
}

void TScaleDataForm::ScaleBoxPaint(QPainter& painter) {
  const int mid = MidRow();
  painter.setPen(QColor(0, 0, 255));
  painter.drawLine(0, mid, scaleBox_->width(), mid);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  for (const TScaleNode* node = firstNode_; node != nullptr; node = node->Next) {
    const QRect square(node->X - kHalfSquare, node->Y - kHalfSquare, 2 * kHalfSquare,
                       2 * kHalfSquare);
    if (node == selectedNode_) {
      painter.fillRect(square, Qt::black);
    } else {
      painter.drawRect(square.adjusted(0, 0, -1, -1));  // a pen rectangle covers one more pixel
    }
    if (node->Next != nullptr) painter.drawLine(node->X, node->Y, node->Next->X, node->Next->Y);
  }
}

void TScaleDataForm::ScaleBoxMouseDown(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  for (TScaleNode* node = firstNode_; node != nullptr; node = node->Next) {
    if (node->X - kHitRadius <= at.x() && at.x() <= node->X + kHitRadius) {
      selectedNode_ = node;
    } else if (node->Prev != nullptr && node->Prev->X + kInsertGap <= at.x() &&
               at.x() <= node->X - kInsertGap) {
      selectedNode_ = AddNode(at.x(), at.y(), node);
    } else {
      continue;
    }
    dragging_ = true;
    scaleBox_->update();
    return;
  }
}

void TScaleDataForm::ScaleBoxMouseMove(QMouseEvent* event) {
  // Del may have taken the node away in the middle of a drag.
  if (!dragging_ || selectedNode_ == nullptr) return;
  const QPoint at = event->position().toPoint();
  int x = at.x();
  if (selectedNode_->Prev != nullptr) x = std::max(x, selectedNode_->Prev->X + kDragGap);
  if (selectedNode_->Next != nullptr) x = std::min(x, selectedNode_->Next->X - kDragGap);
  if (selectedNode_->Prev != nullptr && selectedNode_->Next != nullptr) selectedNode_->X = x;
  selectedNode_->Y = std::clamp(at.y(), boxTop_, boxBottom_);
  scaleBox_->update();
}

void TScaleDataForm::ScaleBoxMouseUp(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

void TScaleDataForm::DeleteNode1Click() {
  TScaleNode* node = selectedNode_;
  if (node == nullptr || node->Prev == nullptr || node->Next == nullptr) return;
  node->Prev->Next = node->Next;
  node->Next->Prev = node->Prev;
  selectedNode_ = nullptr;
  std::erase_if(nodes_,
                [node](const std::unique_ptr<TScaleNode>& owned) { return owned.get() == node; });
  scaleBox_->update();
}

void TScaleDataForm::DepthScrollBarChange(int position) {
  const double decibels = 3 + 0.5 * position;
  depthLabel_->setText(QLocale().toString(decibels, 'g', QLocale::FloatingPointShortest) +
                       QStringLiteral(" dB"));
}

void TScaleDataForm::CentreOnScreen() {
  QScreen* target =
      parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (target == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(target->availableGeometry().center());
  move(frame.topLeft());
}

}  // namespace kelvora::dialogs
