#include "widgets/check_cell_delegate.h"

#include <QApplication>
#include <QStyle>

namespace t740 {

void CheckCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyleOptionViewItem cell(option);
  initStyleOption(&cell, index);
  if (!(cell.features & QStyleOptionViewItem::HasCheckIndicator)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();

  QStyleOptionViewItem panel(cell);
  panel.features &= ~QStyleOptionViewItem::HasCheckIndicator;
  style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);

  QStyleOptionViewItem box(cell);
  const QRect indicator =
      style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, widget);
  box.rect = QStyle::alignedRect(cell.direction, Qt::AlignCenter, indicator.size(), cell.rect);
  box.state &= ~(QStyle::State_HasFocus | QStyle::State_On | QStyle::State_Off);
  box.state |= cell.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
  style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
}

}  // namespace t740
