#pragma once

#include <QStyledItemDelegate>

namespace kelvora::dialogs {

// The role of a list line that holds its details; the line's own text stays as it is.
constexpr int kDetailRole = Qt::UserRole + 1;

// Draws a list line as usual and its details after its text, in the colour of quieter text, so
// the browser's lines show lengths, rates and counts beside the numbers they always showed.
// Details wider than the list end in an ellipsis; the whole text is the line's tool tip.
class DetailDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace kelvora::dialogs
