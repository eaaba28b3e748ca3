#include "dialogs/DetailDelegate.h"

#include <QAbstractItemView>
#include <QPainter>
#include <algorithm>

namespace kelvora::dialogs {

namespace {

constexpr int kGap = 12;  // pixels between a line's text and its details

}  // namespace

void DetailDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  const QString details = index.data(kDetailRole).toString();
  if (details.isEmpty()) return;
  const QString text = index.data(Qt::DisplayRole).toString();
  QRect area = option.rect.adjusted(option.fontMetrics.horizontalAdvance(text) + kGap, 0, -2, 0);
  // What does not fit the list's width ends in an ellipsis instead of a scroll bar.
  if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
    area.setRight(std::min(area.right(), view->viewport()->width() - 3));
  if (area.width() <= 3) return;
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  painter->setPen(
      option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
  painter->drawText(area.adjusted(3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                    option.fontMetrics.elidedText(details, Qt::ElideRight, area.width() - 3));
  painter->restore();
}

}  // namespace kelvora::dialogs
