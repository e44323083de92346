#include "widgets/check_list_ctrl.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "widgets/check_cell_delegate.h"

namespace t740 {
namespace {

constexpr int kRowHeight = 18;
const QString kGridStyle = QStringLiteral("QTableView { gridline-color: rgb(185, 185, 185); }");

}  // namespace

CCheckListCtrl::CCheckListCtrl(QWidget* parent)
    : QTableView(parent), model_(new CheckListModel(this)), header_(new CCheckHeaderCtrl(this)) {
  setModel(model_);
  setHorizontalHeader(header_);
  setItemDelegate(new CheckCellDelegate(this));
  model_->SetSystemColours(palette());

  header_->setStretchLastSection(false);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the list for the next control; the arrows move in it.
  setTabKeyNavigation(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setWordWrap(false);
  setShowGrid(true);
  setStyleSheet(kGridStyle);

  connect(header_, &QHeaderView::sectionClicked, this, &CCheckListCtrl::FlipColumnFromHeader);
}

int CCheckListCtrl::InsertColumn(int column, std::string_view gbkHeading, int width,
                                 Qt::Alignment alignment) {
  const int inserted = model_->InsertColumn(column, gbkHeading, alignment);
  if (inserted >= 0) header_->resizeSection(inserted, width);
  return inserted;
}

int CCheckListCtrl::InsertItem(int row, std::string_view gbkText, const QColor& text,
                               const QColor& background) {
  return model_->InsertRow(row, gbkText, text, background);
}

int CCheckListCtrl::SetItemText(int row, int column, std::string_view gbkText) {
  return model_->SetText(row, column, gbkText) ? 1 : 0;
}

std::string CCheckListCtrl::GetItemText(int row, int column) const {
  return model_->Text(row, column);
}

int CCheckListCtrl::SetCheckbox(int row, int column, int state) {
  if (!model_->SetCheck(row, column, state)) return 0;
  UpdateHeaderImage(column);
  return 1;
}

int CCheckListCtrl::GetCheckbox(int row, int column) const {
  return model_->Check(row, column);
}

int CCheckListCtrl::SetItemEnabled(int row, bool enabled) {
  return model_->SetRowEnabled(row, enabled) ? 1 : 0;
}

int CCheckListCtrl::GetSelectionMark() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

QColor CCheckListCtrl::WindowTextColour() const {
  return palette().color(QPalette::Active, QPalette::Text);
}

QColor CCheckListCtrl::WindowColour() const {
  return palette().color(QPalette::Active, QPalette::Base);
}

void CCheckListCtrl::mousePressEvent(QMouseEvent* event) {
  const QModelIndex cell = indexAt(event->position().toPoint());
  if (cell.isValid() && event->button() == Qt::LeftButton) {
    // A disabled row takes no click, not even as a selection.
    if (!model_->RowEnabled(cell.row())) return;
    if (model_->Check(cell.row(), cell.column()) != kNoCheckbox) {
      ToggleCheckbox(cell.row(), cell.column());
    }
  }
  QTableView::mousePressEvent(event);
}

void CCheckListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit listDoubleClicked();
}

void CCheckListCtrl::keyPressEvent(QKeyEvent* event) {
  const int row = currentIndex().row();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && event->key() == Qt::Key_Space && row >= 0) {
    const int column = CheckboxColumnOfRow(row);
    if (column >= 0 && model_->RowEnabled(row)) ToggleCheckbox(row, column);
    event->accept();
    return;
  }
  if (plain && event->key() == Qt::Key_F2) {
    SelectCurrentRowIfNone();
    emit itemKeyActivated();
    event->accept();
    return;
  }
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    SelectCurrentRowIfNone();
    emit itemKeyActivated();
    event->ignore();
    return;
  }
  QTableView::keyPressEvent(event);
}

// Coming to the list by Tab selects its current row (Qt makes the first
// row current), so that what Enter acts on is what the operator sees marked.
void CCheckListCtrl::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
    SelectCurrentRowIfNone();
  }
}

// However the focus came, Enter and F2 act on the row the keyboard is on.
void CCheckListCtrl::SelectCurrentRowIfNone() {
  const QModelIndex current = currentIndex();
  if (current.isValid() && !selectionModel()->hasSelection() && model_->RowEnabled(current.row())) {
    selectRow(current.row());
  }
}

int CCheckListCtrl::CheckboxColumnOfRow(int row) const {
  const int current = currentIndex().column();
  if (model_->Check(row, current) != kNoCheckbox) return current;
  for (int column = 0; column < model_->columnCount(); ++column) {
    if (model_->Check(row, column) != kNoCheckbox) return column;
  }
  return -1;
}

void CCheckListCtrl::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) model_->SetSystemColours(palette());
  QTableView::changeEvent(event);
}

void CCheckListCtrl::ToggleCheckbox(int row, int column) {
  const int toggled = model_->Check(row, column) == kChecked ? kUnchecked : kChecked;
  model_->SetCheck(row, column, toggled);
  emit checkboxClicked(row, column);
  UpdateHeaderImage(column);
}

void CCheckListCtrl::FlipColumnFromHeader(int column) {
  const HeaderImage shown = header_->CheckImage(column);
  if (shown == HeaderImage::kNone) return;
  const bool check = shown == HeaderImage::kUnchecked;
  header_->SetCheckImage(column, check ? HeaderImage::kChecked : HeaderImage::kUnchecked);
  model_->SetColumnChecks(column, check ? kChecked : kUnchecked);
}

void CCheckListCtrl::UpdateHeaderImage(int column) {
  if (header_->CheckImage(column) == HeaderImage::kNone) return;
  header_->SetCheckImage(
      column, model_->AllBoxesChecked(column) ? HeaderImage::kChecked : HeaderImage::kUnchecked);
}

}  // namespace t740
