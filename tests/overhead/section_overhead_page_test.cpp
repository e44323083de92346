#include "pages/section_overhead_page.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/screenshot.h"

namespace t740::test {
namespace {

const int kDirectionTemplates[] = {1023, 1024, 1091, 1092};

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
    TypeInto(Direction(d), 1031, std::string(32, fill));
    TypeInto(Direction(d), 1032, std::string(32, fill));
    TypeInto(Direction(d), 1033, "0a");
    TypeInto(Direction(d), 1034, "0b");
    TypeInto(Direction(d), 1035, "0c");
    TypeInto(Direction(d), 1036, "0d");
  }

  void AnswerWritesWith(const char* response) {
    host.OnRequest([response](const RecordedRequest&, CText* out) { *out = response; });
  }

  CSectionOverheadPage page{card};
};

TEST_F(SectionOverheadPageTest, HasFourDirectionTabsAndHiddenButtons) {
  EXPECT_EQ(page.objectName(), "1025");
  auto* tabs = Control<QTabWidget>(&page, 1047);
  ASSERT_TRUE(tabs);
  ASSERT_EQ(tabs->count(), 4);
  const char* captions[] = {"A方向", "B方向", "C方向", "D方向"};
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(tabs->tabText(d).toStdString(), captions[d]);
    EXPECT_EQ(tabs->widget(d)->objectName().toStdString(), std::to_string(kDirectionTemplates[d]));
  }
  EXPECT_EQ(tabs->currentIndex(), 0);
  for (int id : {1076, 1008}) {
    auto* button = Control<QPushButton>(&page, id);
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isHidden());
    EXPECT_FALSE(button->isEnabled());
  }
  EXPECT_EQ(Text(&page, 1076), "读取");
  EXPECT_EQ(Text(&page, 1008), "设置");
}

TEST_F(SectionOverheadPageTest, OnlyDirectionAStartsWithTexts) {
  const std::vector<std::pair<int, std::string>> initial = {{1031, "7A 65 6C 74 6F"},
                                                            {1032, "7A 65 6C 74 6F"},
                                                            {1033, "00"},
                                                            {1034, "00"},
                                                            {1035, "0b"},
                                                            {1036, "55"}};
  for (const auto& [id, text] : initial) EXPECT_EQ(Text(Direction(0), id), text) << id;
  for (size_t d = 1; d < 4; ++d) {
    for (int id = 1027; id <= 1036; ++id) EXPECT_EQ(Text(Direction(d), id), "") << d << id;
  }
  for (int id = 1027; id <= 1030; ++id) {
    EXPECT_FALSE(Control<QLineEdit>(Direction(2), id)->isEnabled()) << id;
  }
  EXPECT_TRUE(Control<QLineEdit>(Direction(2), 1031)->isEnabled());
}

TEST_F(SectionOverheadPageTest, FirstReadShowsThePolledRecordWithoutAskingTheCard) {
  card.SetSectionOverheadCache("000000" + ReportedRecord());
  page.ReadSectionOverhead();
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(op.CountShown("1011"), 0u);
  EXPECT_EQ(Text(Direction(0), 1027), "1" + std::string(31, 'a'));
  EXPECT_EQ(Text(Direction(0), 1031), "2" + std::string(31, 'a'));
  EXPECT_EQ(Text(Direction(0), 1032), "3" + std::string(31, 'a'));
  EXPECT_EQ(Text(Direction(1), 1028), "4b");
  EXPECT_EQ(Text(Direction(1), 1033), "5b");
  EXPECT_EQ(Text(Direction(2), 1029), "6c");
  EXPECT_EQ(Text(Direction(2), 1034), "7c");
  EXPECT_EQ(Text(Direction(3), 1030), "8d");
  EXPECT_EQ(Text(Direction(3), 1035), "9d");
  EXPECT_EQ(Text(Direction(3), 1036), "0d");
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
  op.OnDialog("1011", [&](QWidget*) { shownDuringProgress = Text(Direction(3), 1032); });
  page.ReadSectionOverhead();
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(shownDuringProgress, "3" + std::string(31, 'd'));
  EXPECT_EQ(op.CountShown("1011"), 1u);
  EXPECT_EQ(Text(Direction(3), 1032), std::string(32, 'N'));
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
  EXPECT_EQ(op.CountShown("1011"), 0u);
  EXPECT_EQ(Text(Direction(0), 1031), "7A 65 6C 74 6F");
  page.SetSectionOverhead();
  EXPECT_EQ(op.Messages().back(), "A方向 J0期望接收值长度不是32位!");
  EXPECT_EQ(host.Requests().size(), 1u);
}

TEST_F(SectionOverheadPageTest, ResponseOf440IsEnoughAndLeavesDirectionDShort) {
  card.SetSectionOverheadCache(std::string(440, '1'));
  page.ReadSectionOverhead();
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(Text(Direction(3), 1032), std::string(10, '1'));
  EXPECT_EQ(Text(Direction(3), 1033), "");
  EXPECT_EQ(Text(Direction(3), 1036), "");
}

TEST_F(SectionOverheadPageTest, ReadThatThrowsEndsQuietly) {
  page.ReadSectionOverhead();
  page.MarkInitialLoadDone();
  op.ClearRecords();
  host.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("host"); });
  page.ReadSectionOverhead();
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.CountShown("1011"), 0u);
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
  TypeInto(Direction(2), 1034, "1");
  TypeInto(Direction(3), 1031, "short");
  page.SetSectionOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"C方向 k2发送值长度不是2位!"});
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(Text(Direction(2), 1034), "1");
}

TEST_F(SectionOverheadPageTest, TraceEditsOfEveryDirectionAreLimited) {
  for (size_t d = 0; d < 4; ++d) {
    for (int id : {1031, 1032}) {
      TypeInto(Direction(d), id, std::string(40, '9'));
      EXPECT_EQ(Text(Direction(d), id), std::string(32, '9')) << d << " " << id;
    }
  }
}

}  // namespace
}  // namespace t740::test
