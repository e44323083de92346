#include "core/status/shield_mask.h"

#include <gtest/gtest.h>

#include "core/status/level_list.h"
#include "core/status/shield_rows.h"
#include "support/gbk.h"

namespace t740 {
namespace {

using test::Gbk;

int CheckedCount(const ShieldRows& rows) {
  int count = 0;
  for (bool checked : rows) count += checked ? 1 : 0;
  return count;
}

TEST(ShieldBoxes, LengthThatDiffersFromTheTextChecksNothing) {
  for (const int32_t length : {5, 3, 0, -1, -4, 40000}) {
    const ShieldBoxes boxes = ShieldBoxesFromMask("1111", length);
    EXPECT_FALSE(boxes.selectAll) << length;
    EXPECT_EQ(CheckedCount(boxes.rows), 0) << length;
  }
  EXPECT_FALSE(ShieldBoxesFromMask("", 0).selectAll);
}

TEST(ShieldBoxes, OtherCharactersLeaveTheirRowUncheckedButNotSelectAll) {
  const ShieldBoxes boxes = ShieldBoxesFromMask("1x1?", 4);
  EXPECT_TRUE(boxes.selectAll);
  EXPECT_TRUE(boxes.rows[0]);
  EXPECT_FALSE(boxes.rows[1]);
  EXPECT_TRUE(boxes.rows[2]);
  EXPECT_FALSE(boxes.rows[3]);
}

TEST(ShieldBoxes, PositionsPastTheLastRowChangeNoRow) {
  std::string mask(150, '1');
  mask += std::string(50, '1');
  ShieldBoxes boxes = ShieldBoxesFromMask(mask, static_cast<int32_t>(mask.size()));
  EXPECT_TRUE(boxes.selectAll);
  EXPECT_EQ(CheckedCount(boxes.rows), 150);
  // A "0" anywhere in the mask still clears select-all.
  mask.back() = '0';
  boxes = ShieldBoxesFromMask(mask, static_cast<int32_t>(mask.size()));
  EXPECT_FALSE(boxes.selectAll);
  EXPECT_EQ(CheckedCount(boxes.rows), 150);
}

TEST(LevelList, TakesTheTextAfterTheFirstColonOfEachEndedItem) {
  EXPECT_EQ(ParseLevelList("1:major,2:minor:x,", 150),
            (std::vector<std::string>{"major", "minor:x"}));
  EXPECT_EQ(ParseLevelList("1:major,2:minor", 150), (std::vector<std::string>{"major"}));
  EXPECT_EQ(ParseLevelList(":,k:" + Gbk("严重告警") + ",", 150),
            (std::vector<std::string>{"", Gbk("严重告警")}));
}

TEST(LevelList, StopsAtTheFirstItemWithoutColon) {
  EXPECT_TRUE(ParseLevelList("", 150).empty());
  EXPECT_TRUE(ParseLevelList("1:major", 150).empty());
  EXPECT_TRUE(ParseLevelList("major,2:minor,", 150).empty());
  EXPECT_EQ(ParseLevelList("1:a,,3:c,", 150), (std::vector<std::string>{"a"}));
  EXPECT_EQ(ParseLevelList("1:a,b,3:c,", 150), (std::vector<std::string>{"a"}));
}

TEST(LevelList, AnyLengthGivesAtMostTheLimit) {
  std::string list;
  while (list.size() < (1u << 20))
    list += std::to_string(list.size()) + ":L" + std::to_string(list.size() % 997) + ",";
  const auto levels = ParseLevelList(list, 150);
  ASSERT_EQ(levels.size(), 150u);
  EXPECT_EQ(levels[0], "L0");
  EXPECT_EQ(ParseLevelList(list, 3).size(), 3u);
}

TEST(ShieldRows, NumbersAndDefaultsFollowTheAlarmTypes) {
  EXPECT_EQ(ShieldRowNumber(0), "   1");
  EXPECT_EQ(ShieldRowNumber(149), "   150");
  EXPECT_EQ(DefaultShieldLevel(0), Gbk("严重告警"));
  EXPECT_EQ(DefaultShieldLevel(1), Gbk("提示告警"));
  EXPECT_EQ(DefaultShieldLevel(7), Gbk("严重告警"));
  EXPECT_EQ(DefaultShieldLevel(15), Gbk("严重告警"));
  EXPECT_EQ(std::string(DefaultShieldLevel(16)), "");
  EXPECT_EQ(ShieldRowDescription(0), Gbk("光口A:RS-TIM"));
  EXPECT_EQ(ShieldRowDescription(15), Gbk("光口D:RS-OOF"));
  EXPECT_EQ(std::string(ShieldRowDescription(16)), "");
  EXPECT_EQ(std::string(ShieldRowDescription(-1)), "");
}

}  // namespace
}  // namespace t740
