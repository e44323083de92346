// A report list whose cells carry their own colours or a check box, with
// grey grid lines and 18-pixel rows. Columns must exist before rows: a row
// has cell records only for the columns that existed when it was inserted.
// A click on a box toggles it and emits checkboxClicked(row, column); a
// click on a heading that shows a check image sets every box of its column.
// By keyboard: Tab enters and leaves the list, the arrows move in it;
// Space toggles the current row's box; Enter and F2 select the current row
// if none is and emit itemKeyActivated() (Enter then goes on to the dialog,
// for its default button). A cell's tooltip shows its whole text.
#ifndef T740_WIDGETS_CHECK_LIST_CTRL_H
#define T740_WIDGETS_CHECK_LIST_CTRL_H

#include <QColor>
#include <QTableView>
#include <string>
#include <string_view>

#include "widgets/check_header_ctrl.h"
#include "widgets/check_list_model.h"

namespace t740 {

class CCheckListCtrl : public QTableView {
  Q_OBJECT

 public:
  explicit CCheckListCtrl(QWidget* parent = nullptr);

  // The new column's index, or -1.
  int InsertColumn(int column, std::string_view gbkHeading, int width,
                   Qt::Alignment alignment = Qt::AlignHCenter);
  // The new row's index, or -1 for a negative index. The colours go to the
  // row's first cell; the other cells keep the system's.
  int InsertItem(int row, std::string_view gbkText, const QColor& text, const QColor& background);
  // 0 for a cell that does not exist, else 1.
  int SetItemText(int row, int column, std::string_view gbkText);
  std::string GetItemText(int row, int column) const;
  // 0 for a cell that does not exist or has no record, else 1. State -1
  // takes the box away.
  int SetCheckbox(int row, int column, int state);
  // -1 when the cell has no box, does not exist or has no record.
  int GetCheckbox(int row, int column) const;
  // 0 when the row has no first cell record, else 1.
  int SetItemEnabled(int row, bool enabled);

  int GetItemCount() const { return model_->rowCount(); }
  int GetColumnCount() const { return model_->columnCount(); }
  // The selected row, or -1 when none is.
  int GetSelectionMark() const;
  CCheckHeaderCtrl* GetHeaderCtrl() const { return header_; }

  // The system's colours for a row's text and background.
  QColor WindowTextColour() const;
  QColor WindowColour() const;

 signals:
  void checkboxClicked(int row, int column);
  // A double-click anywhere on the list, on a row or not.
  void listDoubleClicked();
  // Enter or F2 on the list.
  void itemKeyActivated();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SelectCurrentRowIfNone();
  void ToggleCheckbox(int row, int column);
  // The current row's box: in the current column, else its first one.
  int CheckboxColumnOfRow(int row) const;
  void FlipColumnFromHeader(int column);
  void UpdateHeaderImage(int column);

  CheckListModel* model_;
  CCheckHeaderCtrl* header_;
};

}  // namespace t740

#endif
