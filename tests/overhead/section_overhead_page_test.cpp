#include "pages/section_overhead_page.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "ids/progress_dialog_ids.h"
#include "ids/section_direction_ids.h"
#include "ids/section_overhead_ids.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/screenshot.h"

namespace t740::test {
namespace {

namespace sd = ids::section_direction;
namespace so = ids::section_overhead;
using so::kDirectionTemplates;

constexpr int kReceivedEdits[] = {sd::kJ0Received, sd::kK1Received, sd::kK2Received,
                                  sd::kS1Received};
constexpr int kEveryEdit[] = {sd::kJ0Received, sd::kK1Received, sd::kK2Received, sd::kS1Received,
                              sd::kJ0Expected, sd::kJ0Send,     sd::kK1Send,     sd::kK2Send,
                              sd::kS1Send,     sd::kZ0Send};

// A record whose fields each carry their direction's letter and field
// number, so that a misplaced slice shows.
std::string ReportedBlock(char letter) {
  auto field = [letter](char number, size_t length) {
    std::string text(length, letter);
    text[0] = number;
    return text;
  };
  return field('1', 32) + field('2', 32) + field('3', 32) + field('4', 2) + field('5', 2) +
         field('6', 2) + field('7', 2) + field('8', 2) + field('9', 2) + field('0', 2) +
         std::string(10, 'f');
}

std::string ReportedRecord() {
  return ReportedBlock('a') + ReportedBlock('b') + ReportedBlock('c') + ReportedBlock('d');
}

class SectionOverheadPageTest : public DialogTest {
 protected:
  SectionOverheadPageTest() { op.AcceptAllMessages(); }

  QWidget* Direction(size_t d) { return Page(&page, kDirectionTemplates[d]); }

  void FillValid(size_t d, char fill) {
    TypeInto(Direction(d), sd::kJ0Expected, std::string(32, fill));
    TypeInto(Direction(d), sd::kJ0Send, std::string(32, fill));
    TypeInto(Direction(d), sd::kK1Send, "0a");
    TypeInto(Direction(d), sd::kK2Send, "0b");
    TypeInto(Direction(d), sd::kS1Send, "0c");
    TypeInto(Direction(d), sd::kZ0Send, "0d");
  }

  void AnswerWritesWith(const char* response) {
    host.OnRequest([response](const RecordedRequest&, CText* out) { *out = response; });
  }

  CSectionOverheadPage page{card};
};

TEST_F(SectionOverheadPageTest, HasFourDirectionTabsAndHiddenButtons) {
  EXPECT_EQ(page.objectName(), IdName(so::kTemplate));
  auto* tabs = Control<QTabWidget>(&page, so::kDirectionTabs);
  ASSERT_TRUE(tabs);
  ASSERT_EQ(tabs->count(), 4);
  const char* captions[] = {"A方向", "B方向", "C方向", "D方向"};
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(tabs->tabText(d).toStdString(), captions[d]);
    EXPECT_EQ(tabs->widget(d)->objectName().toStdString(), std::to_string(kDirectionTemplates[d]));
  }
  EXPECT_EQ(tabs->currentIndex(), 0);
  for (int id : {so::kHiddenRead, so::kHiddenSet}) {
    auto* button = Control<QPushButton>(&page, id);
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isHidden());
    EXPECT_FALSE(button->isEnabled());
  }
  EXPECT_EQ(Text(&page, so::kHiddenRead), "读取");
  EXPECT_EQ(Text(&page, so::kHiddenSet), "设置");
}

TEST_F(SectionOverheadPageTest, OnlyDirectionAStartsWithTexts) {
  const std::vector<std::pair<int, std::string>> initial = {{sd::kJ0Expected, "7A 65 6C 74 6F"},
                                                            {sd::kJ0Send, "7A 65 6C 74 6F"},
                                                            {sd::kK1Send, "00"},
                                                            {sd::kK2Send, "00"},
                                                            {sd::kS1Send, "0b"},
                                                            {sd::kZ0Send, "55"}};
  for (const auto& [id, text] : initial) EXPECT_EQ(Text(Direction(0), id), text) << id;
  for (size_t d = 1; d < 4; ++d) {
    for (int id : kEveryEdit) EXPECT_EQ(Text(Direction(d), id), "") << d << id;
  }
  for (int id : kReceivedEdits) {
    EXPECT_FALSE(Control<QLineEdit>(Direction(2), id)->isEnabled()) << id;
  }
  EXPECT_TRUE(Control<QLineEdit>(Direction(2), sd::kJ0Expected)->isEnabled());
}

TEST_F(SectionOverheadPageTest, FirstReadShowsThePolledRecordWithoutAskingTheCard) {
  card.SetSectionOverheadCache("000000" + ReportedRecord());
  page.ReadSectionOverhead();
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 0u);
  EXPECT_EQ(Text(Direction(0), sd::kJ0Received), "1" + std::string(31, 'a'));
  EXPECT_EQ(Text(Direction(0), sd::kJ0Expected), "2" + std::string(31, 'a'));
  EXPECT_EQ(Text(Direction(0), sd::kJ0Send), "3" + std::string(31, 'a'));
  EXPECT_EQ(Text(Direction(1), sd::kK1Received), "4b");
  EXPECT_EQ(Text(Direction(1), sd::kK1Send), "5b");
  EXPECT_EQ(Text(Direction(2), sd::kK2Received), "6c");
  EXPECT_EQ(Text(Direction(2), sd::kK2Send), "7c");
  EXPECT_EQ(Text(Direction(3), sd::kS1Received), "8d");
  EXPECT_EQ(Text(Direction(3), sd::kS1Send), "9d");
  EXPECT_EQ(Text(Direction(3), sd::kZ0Send), "0d");
  EXPECT_TRUE(op.Messages().empty());
  SaveScreenshot(&page, "section_overhead_page");
}

TEST_F(SectionOverheadPageTest, LaterReadsAskTheCardAndShowTheProgressFirst) {
  card.SetSectionOverheadCache("000000" + ReportedRecord());
  page.ReadSectionOverhead();
  page.MarkInitialLoadDone();
  std::string fresh = ReportedRecord();
  fresh.replace(360 + 64, 32, std::string(32, 'N'));
  host.Answer(ReadOid(".12"), "000000" + fresh);
  // The edits still hold the cached texts while the progress dialog runs.
  std::string shownDuringProgress;
  op.OnDialog(ids::progress_dialog::kTemplate,
              [&](QWidget*) { shownDuringProgress = Text(Direction(3), sd::kJ0Send); });
  page.ReadSectionOverhead();
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(shownDuringProgress, "3" + std::string(31, 'd'));
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 1u);
  EXPECT_EQ(Text(Direction(3), sd::kJ0Send), std::string(32, 'N'));
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].oid, "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.12");
}

TEST_F(SectionOverheadPageTest, ShortResponseChangesNothingAndShowsNoProgress) {
  page.ReadSectionOverhead();  // the poll left the cache empty
  page.MarkInitialLoadDone();
  host.Answer(ReadOid(".12"), std::string(439, '0'));
  page.ReadSectionOverhead();
  EXPECT_EQ(op.Messages(),
            (std::vector<std::string>{"开销配置数据信息不全", "开销配置数据信息不全"}));
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 0u);
  EXPECT_EQ(Text(Direction(0), sd::kJ0Expected), "7A 65 6C 74 6F");
  page.SetSectionOverhead();
  EXPECT_EQ(op.Messages().back(), "A方向 J0期望接收值长度不是32位!");
  EXPECT_EQ(host.Requests().size(), 1u);
}

TEST_F(SectionOverheadPageTest, ResponseOf440IsEnoughAndLeavesDirectionDShort) {
  card.SetSectionOverheadCache(std::string(440, '1'));
  page.ReadSectionOverhead();
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(Text(Direction(3), sd::kJ0Send), std::string(10, '1'));
  EXPECT_EQ(Text(Direction(3), sd::kK1Send), "");
  EXPECT_EQ(Text(Direction(3), sd::kZ0Send), "");
}

TEST_F(SectionOverheadPageTest, ReadThatThrowsEndsQuietly) {
  page.ReadSectionOverhead();
  page.MarkInitialLoadDone();
  op.ClearRecords();
  host.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("host"); });
  page.ReadSectionOverhead();
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 0u);
}

TEST_F(SectionOverheadPageTest, SetWritesAllFourDirectionsUpperCased) {
  for (size_t d = 0; d < 4; ++d) FillValid(d, "abcd"[d]);
  AnswerWritesWith("1");
  page.SetSectionOverhead();
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].oid, WriteOid(".12"));
  const std::string& value = requests[0].value;
  ASSERT_EQ(value.size(), 486u);
  EXPECT_EQ(value.substr(0, 6), "F00000");
  for (size_t d = 0; d < 4; ++d) {
    const std::string letter(32, "ABCD"[d]);
    EXPECT_EQ(value.substr(6 + d * 120, 120),
              std::string(32, '0') + letter + letter + "000A000B000C0D" + std::string(10, '0'))
        << d;
  }
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"开销设置成功"});
}

TEST_F(SectionOverheadPageTest, SetStopsAtTheFirstBadDirection) {
  for (size_t d = 0; d < 4; ++d) FillValid(d, '0');
  TypeInto(Direction(2), sd::kK2Send, "1");
  TypeInto(Direction(3), sd::kJ0Expected, "short");
  page.SetSectionOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"C方向 k2发送值长度不是2位!"});
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(Text(Direction(2), sd::kK2Send), "1");
}

TEST_F(SectionOverheadPageTest, TraceEditsOfEveryDirectionAreLimited) {
  for (size_t d = 0; d < 4; ++d) {
    for (int id : {sd::kJ0Expected, sd::kJ0Send}) {
      TypeInto(Direction(d), id, std::string(40, '9'));
      EXPECT_EQ(Text(Direction(d), id), std::string(32, '9')) << d << " " << id;
    }
  }
}

}  // namespace
}  // namespace t740::test
