// Draws a cell that has a check box with the box centred in the cell.
#ifndef T740_WIDGETS_CHECK_CELL_DELEGATE_H
#define T740_WIDGETS_CHECK_CELL_DELEGATE_H

#include <QStyledItemDelegate>

namespace t740 {

class CheckCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace t740

#endif
