#include "widgets/check_list_ctrl.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "support/gbk.h"
#include "support/screenshot.h"
#include "widgets/resource_scope.h"

namespace t740 {
namespace {

using test::Gbk;

const QColor kShade(243, 243, 243);
const QColor kRed(200, 0, 0);

class CheckListCtrlTest : public ::testing::Test {
 protected:
  // Three columns, the last with boxes, and four rows.
  void Fill() {
    ASSERT_EQ(list.InsertColumn(0, "No.", 50), 0);
    ASSERT_EQ(list.InsertColumn(1, "Text", 120), 1);
    ASSERT_EQ(list.InsertColumn(2, "Box", 60), 2);
    for (int row = 0; row < 4; ++row) {
      ASSERT_EQ(list.InsertItem(row, std::to_string(row), kRed, kShade), row);
      ASSERT_EQ(list.SetCheckbox(row, 2, 0), 1);
    }
    list.resize(400, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  }

  QVariant Data(int row, int column, int role) const {
    return list.model()->data(list.model()->index(row, column), role);
  }
  void ClickCell(int row, int column) {
    const QRect cell = list.visualRect(list.model()->index(row, column));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  }
  void ClickHeading(int column) {
    CCheckHeaderCtrl* header = list.GetHeaderCtrl();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  }

  ResourceScope resources;
  CCheckListCtrl list;
};

TEST_F(CheckListCtrlTest, RowsInsertedBeforeColumnsHaveNoCellRecords) {
  EXPECT_EQ(list.InsertItem(0, "early", kRed, kShade), 0);
  EXPECT_EQ(list.SetCheckbox(0, 0, 1), 0);
  EXPECT_EQ(list.GetCheckbox(0, 0), -1);
  EXPECT_EQ(list.SetItemText(0, 0, "x"), 0);

  ASSERT_EQ(list.InsertColumn(0, "A", 50), 0);
  EXPECT_EQ(list.SetCheckbox(0, 0, 1), 0);
  EXPECT_EQ(list.GetCheckbox(0, 0), -1);
  EXPECT_EQ(list.SetItemText(0, 0, "now"), 1);
  EXPECT_EQ(list.GetItemText(0, 0), "now");
  // Without a record the cell has the system's colours.
  EXPECT_EQ(Data(0, 0, Qt::ForegroundRole).value<QColor>(), list.WindowTextColour());
}

TEST_F(CheckListCtrlTest, OutOfRangeCellsChangeNothing) {
  Fill();
  EXPECT_EQ(list.InsertItem(-1, "bad", kRed, kShade), -1);
  EXPECT_EQ(list.GetItemCount(), 4);
  for (const auto& [row, column] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 3}, {99, 99}}) {
    EXPECT_EQ(list.SetItemText(row, column, "x"), 0);
    EXPECT_EQ(list.SetCheckbox(row, column, 1), 0);
    EXPECT_EQ(list.GetCheckbox(row, column), -1);
    EXPECT_EQ(list.GetItemText(row, column), "");
  }
  EXPECT_EQ(list.InsertColumn(-1, "bad", 10), -1);
  EXPECT_EQ(list.GetColumnCount(), 3);
}

TEST_F(CheckListCtrlTest, InsertPositionsAreClampedToTheEnd) {
  Fill();
  EXPECT_EQ(list.InsertItem(40, "last", kRed, kShade), 4);
  EXPECT_EQ(list.InsertItem(0, "first", kRed, kShade), 0);
  EXPECT_EQ(list.GetItemText(0, 0), "first");
  EXPECT_EQ(list.GetItemText(5, 0), "last");
  EXPECT_EQ(list.GetItemText(1, 0), "0");
  EXPECT_EQ(list.GetCheckbox(1, 2), 0);
  EXPECT_EQ(list.GetCheckbox(0, 2), -1);
}

TEST_F(CheckListCtrlTest, RowColoursGoToTheFirstCellOnly) {
  Fill();
  EXPECT_EQ(Data(1, 0, Qt::ForegroundRole).value<QColor>(), kRed);
  EXPECT_EQ(Data(1, 0, Qt::BackgroundRole).value<QColor>(), kShade);
  EXPECT_EQ(Data(1, 1, Qt::ForegroundRole).value<QColor>(), list.WindowTextColour());
  EXPECT_EQ(Data(1, 1, Qt::BackgroundRole).value<QColor>(), list.WindowColour());
}

TEST_F(CheckListCtrlTest, TextsKeepTheirBytesAndShowAsUnicode) {
  Fill();
  EXPECT_EQ(list.SetItemText(2, 1, Gbk("光口A")), 1);
  EXPECT_EQ(list.GetItemText(2, 1), Gbk("光口A"));
  EXPECT_EQ(Data(2, 1, Qt::DisplayRole).toString(), QString::fromUtf8("光口A"));
  const std::string notGbk("\xFF\x80z", 3);
  list.SetItemText(2, 1, notGbk);
  EXPECT_EQ(list.GetItemText(2, 1), notGbk);
}

TEST_F(CheckListCtrlTest, BoxesShowAsCheckStatesInsteadOfText) {
  Fill();
  list.SetItemText(0, 2, "hidden");
  EXPECT_FALSE(Data(0, 2, Qt::DisplayRole).isValid());
  EXPECT_EQ(Data(0, 2, Qt::CheckStateRole).toInt(), Qt::Unchecked);
  list.SetCheckbox(0, 2, 1);
  EXPECT_EQ(Data(0, 2, Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_FALSE(Data(0, 1, Qt::CheckStateRole).isValid());
  // -1 takes the box away again.
  EXPECT_EQ(list.SetCheckbox(0, 2, -1), 1);
  EXPECT_EQ(list.GetCheckbox(0, 2), -1);
  EXPECT_EQ(Data(0, 2, Qt::DisplayRole).toString(), QString("hidden"));
}

TEST_F(CheckListCtrlTest, ClickTogglesABoxAndReportsIt) {
  Fill();
  QSignalSpy clicked(&list, &CCheckListCtrl::checkboxClicked);
  ClickCell(2, 2);
  EXPECT_EQ(list.GetCheckbox(2, 2), 1);
  ClickCell(2, 2);
  EXPECT_EQ(list.GetCheckbox(2, 2), 0);
  ASSERT_EQ(clicked.count(), 2);
  EXPECT_EQ(clicked.at(0).at(0).toInt(), 2);
  EXPECT_EQ(clicked.at(0).at(1).toInt(), 2);
  EXPECT_EQ(list.GetSelectionMark(), 2);

  ClickCell(1, 1);
  EXPECT_EQ(clicked.count(), 2);
  EXPECT_EQ(list.GetCheckbox(1, 2), 0);
  EXPECT_EQ(list.GetSelectionMark(), 1);
}

TEST_F(CheckListCtrlTest, DisabledRowIgnoresClicks) {
  Fill();
  EXPECT_EQ(list.SetItemEnabled(3, false), 1);
  QSignalSpy clicked(&list, &CCheckListCtrl::checkboxClicked);
  ClickCell(3, 2);
  EXPECT_EQ(list.GetCheckbox(3, 2), 0);
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_EQ(list.GetSelectionMark(), -1);
  EXPECT_NE(Data(3, 0, Qt::ForegroundRole).value<QColor>(), kRed);
  // Set from code it still changes.
  EXPECT_EQ(list.SetCheckbox(3, 2, 1), 1);
}

TEST_F(CheckListCtrlTest, HeadingWithoutImageChangesNoBox) {
  Fill();
  ClickHeading(2);
  for (int row = 0; row < 4; ++row) EXPECT_EQ(list.GetCheckbox(row, 2), 0);
}

TEST_F(CheckListCtrlTest, HeadingImageFlipsEveryBoxOfItsColumn) {
  Fill();
  list.SetCheckbox(1, 2, 1);
  list.SetCheckbox(3, 2, -1);
  CCheckHeaderCtrl* header = list.GetHeaderCtrl();
  header->SetCheckImage(2, HeaderImage::kUnchecked);

  ClickHeading(2);
  EXPECT_EQ(header->CheckImage(2), HeaderImage::kChecked);
  test::SaveScreenshot(&list, "check_list_header_checked");
  EXPECT_EQ(list.GetCheckbox(0, 2), 1);
  EXPECT_EQ(list.GetCheckbox(1, 2), 1);
  EXPECT_EQ(list.GetCheckbox(2, 2), 1);
  EXPECT_EQ(list.GetCheckbox(3, 2), -1);

  ClickHeading(2);
  EXPECT_EQ(header->CheckImage(2), HeaderImage::kUnchecked);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(list.GetCheckbox(row, 2), 0);
  EXPECT_EQ(list.GetCheckbox(3, 2), -1);
}

TEST_F(CheckListCtrlTest, HeadingImageFollowsTheBoxes) {
  Fill();
  CCheckHeaderCtrl* header = list.GetHeaderCtrl();
  header->SetCheckImage(2, HeaderImage::kUnchecked);
  for (int row = 0; row < 3; ++row) list.SetCheckbox(row, 2, 1);
  EXPECT_EQ(header->CheckImage(2), HeaderImage::kUnchecked);
  list.SetCheckbox(3, 2, 1);
  EXPECT_EQ(header->CheckImage(2), HeaderImage::kChecked);
  ClickCell(0, 2);
  EXPECT_EQ(header->CheckImage(2), HeaderImage::kUnchecked);
  ClickCell(0, 2);
  EXPECT_EQ(header->CheckImage(2), HeaderImage::kChecked);
  // Columns without an image keep none.
  list.SetCheckbox(0, 1, 1);
  EXPECT_EQ(header->CheckImage(1), HeaderImage::kNone);
}

TEST_F(CheckListCtrlTest, HeadingDrawsItsImage) {
  Fill();
  CCheckHeaderCtrl* header = list.GetHeaderCtrl();
  const QRect section(header->sectionViewportPosition(2), 0, header->sectionSize(2),
                      header->height());
  auto picture = [&] { return header->viewport()->grab().toImage().copy(section); };
  const QImage none = picture();
  header->SetCheckImage(2, HeaderImage::kUnchecked);
  const QImage unchecked = picture();
  header->SetCheckImage(2, HeaderImage::kChecked);
  const QImage checked = picture();
  EXPECT_NE(none, unchecked);
  EXPECT_NE(unchecked, checked);
}

TEST_F(CheckListCtrlTest, RowsAreEighteenPixelsWithGreyGridLines) {
  Fill();
  EXPECT_EQ(list.rowHeight(0), 18);
  EXPECT_EQ(list.rowHeight(3), 18);
  const QImage picture = list.viewport()->grab().toImage();
  // The grid line runs just right of and below each cell.
  const QRect cell = list.visualRect(list.model()->index(1, 1));
  EXPECT_EQ(QColor(picture.pixel(cell.right() + 1, cell.center().y())), QColor(185, 185, 185));
  EXPECT_EQ(QColor(picture.pixel(cell.center().x(), cell.bottom() + 1)), QColor(185, 185, 185));
  EXPECT_NE(QColor(picture.pixel(cell.center())), QColor(185, 185, 185));
}

TEST(CheckHeaderImages, AreInThePluginResources) {
  ResourceScope resources;
  EXPECT_FALSE(QPixmap(":/t740/bitmaps/header_checked").isNull());
  EXPECT_FALSE(QPixmap(":/t740/bitmaps/header_unchecked").isNull());
}

}  // namespace
}  // namespace t740
