// The shielding dialog as a host meets it: through GetAlarmSheild of the
// shared object, with a scripted operator at the dialog.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QTest>
#include <functional>
#include <string>

#include "ids/shield_dialog_ids.h"
#include "support/controls.h"
#include "support/gbk.h"
#include "support/operator.h"
#include "support/screenshot.h"
#include "t740/abi.h"

namespace t740::test {
namespace {

namespace shield = ids::shield_dialog;

constexpr int kRows = 150;
constexpr int kShieldColumn = 3;

struct ShieldCall {
  int32_t returned = -1;
  CText result{"untouched"};
  int16_t length = -7;
};

QAbstractItemView* AlarmList(QWidget* dialog) {
  return Control<QAbstractItemView>(dialog, shield::kAlarmList);
}

QVariant Cell(QWidget* dialog, int row, int column, int role) {
  QAbstractItemView* list = AlarmList(dialog);
  return list->model()->data(list->model()->index(row, column), role);
}

std::string CellText(QWidget* dialog, int row, int column) {
  return Cell(dialog, row, column, Qt::DisplayRole).toString().toStdString();
}

// "1" for each checked row box, "0" for each unchecked one.
std::string ShownMask(QWidget* dialog) {
  std::string mask;
  for (int row = 0; row < kRows; ++row) {
    mask += Cell(dialog, row, kShieldColumn, Qt::CheckStateRole).toInt() == Qt::Checked ? '1' : '0';
  }
  return mask;
}

void ClickRowBox(QWidget* dialog, int row) {
  QAbstractItemView* list = AlarmList(dialog);
  const QModelIndex cell = list->model()->index(row, kShieldColumn);
  list->scrollTo(cell);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualRect(cell).center());
}

class AlarmShieldTest : public ::testing::Test {
 protected:
  ShieldCall Call(const std::string& mask, int16_t length, const std::string& levels,
                  std::function<void(QWidget*)> step) {
    op.OnDialog(shield::kTemplate, std::move(step));
    ShieldCall call;
    call.returned =
        GetAlarmSheild(0, CText(mask), length, &call.result, &call.length, CText(levels));
    EXPECT_TRUE(op.Done());
    return call;
  }

  Operator op;
};

TEST_F(AlarmShieldTest, FullMaskChecksEveryRowAndSelectAllAndComesBackUnchanged) {
  const std::string full(kRows, '1');
  std::string shown;
  bool selectAll = false;
  const ShieldCall call = Call(full, kRows, "", [&](QWidget* dialog) {
    shown = ShownMask(dialog);
    selectAll = IsChecked(dialog, shield::kSelectAll);
    Click(dialog, shield::kOk);
  });
  EXPECT_EQ(shown, full);
  EXPECT_TRUE(selectAll);
  EXPECT_EQ(call.returned, 1);
  EXPECT_EQ(call.result, full.c_str());
  EXPECT_EQ(call.length, 150);
}

TEST_F(AlarmShieldTest, ShortMaskChecksItsRowsAndOkFillsTheRest) {
  std::string shown;
  bool selectAll = true;
  const ShieldCall call = Call("0100", 4, "", [&](QWidget* dialog) {
    shown = ShownMask(dialog);
    selectAll = IsChecked(dialog, shield::kSelectAll);
    Click(dialog, shield::kOk);
  });
  const std::string expected = "0100" + std::string(146, '0');
  EXPECT_EQ(shown, expected);
  EXPECT_FALSE(selectAll);
  EXPECT_EQ(call.returned, 1);
  EXPECT_EQ(call.result, expected.c_str());
  EXPECT_EQ(call.length, 150);
}

TEST_F(AlarmShieldTest, MaskWithAWrongLengthChecksNothing) {
  for (const int16_t length : {int16_t{5}, int16_t{-4}, int16_t{0}}) {
    std::string shown;
    bool selectAll = true;
    Call("1111", length, "", [&](QWidget* dialog) {
      shown = ShownMask(dialog);
      selectAll = IsChecked(dialog, shield::kSelectAll);
      Click(dialog, shield::kCancel);
    });
    EXPECT_EQ(shown, std::string(kRows, '0')) << length;
    EXPECT_FALSE(selectAll) << length;
  }
}

TEST_F(AlarmShieldTest, SelectAllThenOneRowOffLeavesSelectAllChecked) {
  bool selectAll = false;
  const ShieldCall call = Call("", 0, "", [&](QWidget* dialog) {
    Click(dialog, shield::kSelectAll);
    ClickRowBox(dialog, 120);
    selectAll = IsChecked(dialog, shield::kSelectAll);
    Click(dialog, shield::kOk);
  });
  std::string expected(kRows, '1');
  expected[120] = '0';
  EXPECT_TRUE(selectAll);
  EXPECT_EQ(call.returned, 1);
  EXPECT_EQ(call.result, expected.c_str());
}

TEST_F(AlarmShieldTest, UncheckingSelectAllClearsEveryRow) {
  const ShieldCall call = Call(std::string(kRows, '1'), kRows, "", [&](QWidget* dialog) {
    Click(dialog, shield::kSelectAll);
    Click(dialog, shield::kOk);
  });
  EXPECT_EQ(call.result, std::string(kRows, '0').c_str());
}

TEST_F(AlarmShieldTest, CancelEscapeAndCloseBoxReturnAnEmptyMask) {
  const std::function<void(QWidget*)> endings[] = {
      [](QWidget* dialog) { Click(dialog, shield::kCancel); },
      [](QWidget* dialog) { PressKey(dialog, Qt::Key_Escape); },
      [](QWidget* dialog) { dialog->close(); },
  };
  for (const auto& end : endings) {
    const ShieldCall call = Call("0100", 4, "", [&](QWidget* dialog) {
      ClickRowBox(dialog, 0);
      end(dialog);
    });
    EXPECT_EQ(call.returned, 0);
    EXPECT_EQ(call.result, "");
    EXPECT_EQ(call.length, 0);
  }
}

TEST_F(AlarmShieldTest, EnterActsAsOk) {
  const ShieldCall call = Call("0100", 4, "", [&](QWidget* dialog) {
    ClickRowBox(dialog, 2);
    PressKey(AlarmList(dialog), Qt::Key_Return);
  });
  EXPECT_EQ(call.returned, 1);
  EXPECT_EQ(call.result, ("0110" + std::string(146, '0')).c_str());
  EXPECT_EQ(call.length, 150);
}

TEST_F(AlarmShieldTest, RowsShowNumbersDefaultsAndTheHostsLevels) {
  std::vector<std::string> row0, row1, row16, row149;
  int rowCount = 0;
  Call("", 0, "7:Critical,x:" + Gbk("次要") + ",8:never", [&](QWidget* dialog) {
    rowCount = AlarmList(dialog)->model()->rowCount();
    for (auto [row, texts] : {std::pair{0, &row0}, {1, &row1}, {16, &row16}, {149, &row149}}) {
      for (int column = 0; column < 3; ++column) texts->push_back(CellText(dialog, row, column));
    }
    SaveScreenshot(dialog, "alarm_shield_" + std::to_string(shield::kTemplate));
    Click(dialog, shield::kCancel);
  });
  EXPECT_EQ(rowCount, kRows);
  EXPECT_EQ(row0, (std::vector<std::string>{"   1", "Critical", "光口A:RS-TIM"}));
  EXPECT_EQ(row1, (std::vector<std::string>{"   2", "次要", "光口A:STM-LOS"}));
  EXPECT_EQ(row16, (std::vector<std::string>{"   17", "", ""}));
  EXPECT_EQ(row149, (std::vector<std::string>{"   150", "", ""}));
}

TEST_F(AlarmShieldTest, LevelListWithoutEndedItemsKeepsTheDefaults) {
  std::string level0, level2;
  Call("", 0, "1:major;2:minor", [&](QWidget* dialog) {
    level0 = CellText(dialog, 0, 1);
    level2 = CellText(dialog, 2, 1);
    Click(dialog, shield::kCancel);
  });
  EXPECT_EQ(level0, "严重告警");
  EXPECT_EQ(level2, "提示告警");
}

TEST_F(AlarmShieldTest, ChineseTemplate) {
  std::string title;
  Call("", 0, "", [&](QWidget* dialog) {
    title = dialog->windowTitle().toStdString();
    EXPECT_EQ(Text(dialog, shield::kSelectAll), "全选");
    EXPECT_EQ(Text(dialog, shield::kOk), "确定");
    EXPECT_EQ(Text(dialog, shield::kCancel), "取消");
    Click(dialog, shield::kCancel);
  });
  EXPECT_EQ(title, "告警屏蔽设置");
}

TEST_F(AlarmShieldTest, EnglishTemplate) {
  std::string title;
  Call("", 0, "", [&](QWidget* dialog) {
    title = dialog->windowTitle().toStdString();
    EXPECT_EQ(Text(dialog, shield::kSelectAll), "All");
    EXPECT_EQ(Text(dialog, shield::kOk), "OK");
    EXPECT_EQ(Text(dialog, shield::kCancel), "Cancel");
    Click(dialog, shield::kOk);
  });
  EXPECT_EQ(title, "Alarm settings shielding");
}

TEST_F(AlarmShieldTest, MissingOutputsAreRejectedWithoutADialog) {
  CText result("kept");
  int16_t length = 3;
  EXPECT_EQ(GetAlarmSheild(0, CText("1"), 1, nullptr, &length, CText()), 0);
  EXPECT_EQ(GetAlarmSheild(0, CText("1"), 1, &result, nullptr, CText()), 0);
  EXPECT_EQ(length, 3);
  EXPECT_EQ(result, "kept");
  EXPECT_TRUE(op.ModalsShown().empty());
}

}  // namespace
}  // namespace t740::test
