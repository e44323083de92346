#include "widgets/check_list_model.h"

#include <QPalette>
#include <algorithm>

#include "widgets/gbk_qt.h"

namespace t740 {

CheckListModel::CheckListModel(QObject* parent) : QAbstractTableModel(parent) {
  SetSystemColours(QPalette());
}

int CheckListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CheckListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !Exists(index.row(), index.column())) return QVariant();
  const int row = index.row();
  const int column = index.column();
  const Record* record = RecordOf(row, column);
  const bool hasCheckbox = record && record->check != kNoCheckbox;
  switch (role) {
    case Qt::DisplayRole:
      // A cell with a box shows the box instead of its text.
      if (hasCheckbox) return QVariant();
      return FromGbk(rows_[row][column].text);
    case Qt::ToolTipRole:
      // The whole text, for a cell too narrow to show it.
      if (hasCheckbox || rows_[row][column].text.empty()) return QVariant();
      return FromGbk(rows_[row][column].text);
    case Qt::CheckStateRole:
      if (!hasCheckbox) return QVariant();
      return record->check == kChecked ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
      if (!RowEnabled(row)) return greyText_;
      return record && record->text ? *record->text : windowText_;
    case Qt::BackgroundRole:
      return record && record->background ? *record->background : window_;
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(columns_[column].alignment | Qt::AlignVCenter);
    default:
      return QVariant();
  }
}

QVariant CheckListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return QVariant();
  if (role == Qt::DisplayRole) return FromGbk(columns_[section].heading);
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(columns_[section].alignment | Qt::AlignVCenter);
  }
  return QVariant();
}

Qt::ItemFlags CheckListModel::flags(const QModelIndex& index) const {
  // Boxes toggle on the press in the control, not through the delegate, so
  // they are not marked user-checkable.
  if (!index.isValid() || !RowEnabled(index.row())) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

int CheckListModel::InsertColumn(int column, std::string_view gbkHeading, Qt::Alignment alignment) {
  if (column < 0) return -1;
  column = std::min(column, columnCount());
  beginInsertColumns(QModelIndex(), column, column);
  columns_.insert(columns_.begin() + column, Column{std::string(gbkHeading), alignment});
  for (Row& row : rows_) row.insert(row.begin() + column, Cell{});
  endInsertColumns();
  return column;
}

int CheckListModel::InsertRow(int row, std::string_view gbkText, const QColor& text,
                              const QColor& background) {
  if (row < 0) return -1;
  row = std::min(row, rowCount());
  Row cells(columns_.size(), Cell{std::string(), Record{}});
  if (!cells.empty()) {
    cells[0].text = std::string(gbkText);
    cells[0].record->text = text;
    cells[0].record->background = background;
  }
  beginInsertRows(QModelIndex(), row, row);
  rows_.insert(rows_.begin() + row, std::move(cells));
  endInsertRows();
  return row;
}

bool CheckListModel::SetText(int row, int column, std::string_view gbkText) {
  if (!Exists(row, column)) return false;
  rows_[row][column].text = std::string(gbkText);
  CellChanged(row, column);
  return true;
}

std::string CheckListModel::Text(int row, int column) const {
  return Exists(row, column) ? rows_[row][column].text : std::string();
}

bool CheckListModel::SetCheck(int row, int column, int state) {
  if (!RecordOf(row, column)) return false;
  rows_[row][column].record->check = std::clamp(state, kNoCheckbox, kChecked);
  CellChanged(row, column);
  return true;
}

int CheckListModel::Check(int row, int column) const {
  const Record* record = RecordOf(row, column);
  return record ? record->check : kNoCheckbox;
}

void CheckListModel::SetColumnChecks(int column, int state) {
  for (int row = 0; row < rowCount(); ++row) {
    if (Check(row, column) != kNoCheckbox) SetCheck(row, column, state);
  }
}

bool CheckListModel::AllBoxesChecked(int column) const {
  bool anyBox = false;
  for (int row = 0; row < rowCount(); ++row) {
    const int state = Check(row, column);
    if (state == kUnchecked) return false;
    anyBox = anyBox || state == kChecked;
  }
  return anyBox;
}

bool CheckListModel::SetRowEnabled(int row, bool enabled) {
  if (!RecordOf(row, 0)) return false;
  rows_[row][0].record->enabled = enabled;
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  return true;
}

bool CheckListModel::RowEnabled(int row) const {
  if (row < 0 || row >= rowCount()) return false;
  const Record* first = RecordOf(row, 0);
  return !first || first->enabled;
}

void CheckListModel::SetSystemColours(const QPalette& palette) {
  windowText_ = palette.color(QPalette::Active, QPalette::Text);
  window_ = palette.color(QPalette::Active, QPalette::Base);
  greyText_ = palette.color(QPalette::Disabled, QPalette::Text);
  if (rowCount() > 0 && columnCount() > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
}

bool CheckListModel::Exists(int row, int column) const {
  return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
}

const CheckListModel::Record* CheckListModel::RecordOf(int row, int column) const {
  if (!Exists(row, column) || !rows_[row][column].record) return nullptr;
  return &*rows_[row][column].record;
}

void CheckListModel::CellChanged(int row, int column) {
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell);
}

}  // namespace t740
