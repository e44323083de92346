// The cells behind CCheckListCtrl. Texts are kept as the plug-in's GBK
// bytes, so that what a page puts in comes back unchanged; views get them
// as QStrings. A row carries cell records (colours, check box) only for the
// columns that existed when it was inserted.
#ifndef T740_WIDGETS_CHECK_LIST_MODEL_H
#define T740_WIDGETS_CHECK_LIST_MODEL_H

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPalette;

namespace t740 {

// Check states of a cell.
constexpr int kNoCheckbox = -1;
constexpr int kUnchecked = 0;
constexpr int kChecked = 1;

class CheckListModel : public QAbstractTableModel {
 public:
  explicit CheckListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The new column's index (at most the current count), or -1.
  int InsertColumn(int column, std::string_view gbkHeading, Qt::Alignment alignment);
  // The new row's index (at most the current count), or -1 for a negative
  // index. The colours go to the row's first cell.
  int InsertRow(int row, std::string_view gbkText, const QColor& text, const QColor& background);

  bool SetText(int row, int column, std::string_view gbkText);
  std::string Text(int row, int column) const;
  // False when the cell does not exist or has no record.
  bool SetCheck(int row, int column, int state);
  int Check(int row, int column) const;
  // Gives every existing box of the column the state; rows without one keep
  // theirs.
  void SetColumnChecks(int column, int state);
  // True when the column has boxes and all of them are checked.
  bool AllBoxesChecked(int column) const;

  // A disabled row draws its text grey and takes no clicks. False when the
  // row has no first cell record.
  bool SetRowEnabled(int row, bool enabled);
  bool RowEnabled(int row) const;

  // The colours of cells that were given none: the system's, re-read
  // whenever they change.
  void SetSystemColours(const QPalette& palette);

 private:
  struct Record {
    bool enabled = true;  // read from a row's first cell only
    std::optional<QColor> text;
    std::optional<QColor> background;
    int check = kNoCheckbox;
  };
  struct Cell {
    std::string text;
    std::optional<Record> record;
  };
  struct Column {
    std::string heading;
    Qt::Alignment alignment;
  };
  using Row = std::vector<Cell>;

  bool Exists(int row, int column) const;
  const Record* RecordOf(int row, int column) const;
  void CellChanged(int row, int column);

  std::vector<Column> columns_;
  std::vector<Row> rows_;
  QColor windowText_;
  QColor window_;
  QColor greyText_;
};

}  // namespace t740

#endif
