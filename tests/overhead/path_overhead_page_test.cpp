#include "pages/path_overhead_page.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <stdexcept>
#include <string>
#include <vector>

#include "ids/path_overhead_ids.h"
#include "ids/progress_dialog_ids.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/screenshot.h"

namespace t740::test {
namespace {

namespace po = ids::path_overhead;

// A complete response: head, then mode, port, VC4 and the fields.
std::string Response(const std::string& port, const std::string& vc4, const std::string& g1) {
  return "000000"
         "00" +
         port + vc4 + std::string(32, 'r') + std::string(32, 'e') + std::string(32, 's') +
         "c1"
         "c2"
         "c3"
         "00"
         "k3" +
         g1 + "n1";
}

class PathOverheadPageTest : public DialogTest {
 protected:
  PathOverheadPageTest() { op.AcceptAllMessages(); }

  void FillValid() {
    TypeInto(&page, po::kJ1Expected, std::string(32, 'e'));
    TypeInto(&page, po::kC2Expected, "c2");
    TypeInto(&page, po::kJ1Send, std::string(32, 'f'));
    TypeInto(&page, po::kC2Send, "c3");
    TypeInto(&page, po::kK3Send, "k3");
    TypeInto(&page, po::kN1Send, "n1");
  }

  void AnswerWritesWith(const char* response) {
    host.OnRequest([this, response](const RecordedRequest& request, CText* out) {
      if (request.operation == 1) {
        *out = response;
      } else {
        *out = CText(readAnswer);
      }
    });
  }

  std::string readAnswer;
  CPathOverheadPage page{card};
};

TEST_F(PathOverheadPageTest, StartsWithTheFirstItemOfEachListAndEmptyEdits) {
  EXPECT_EQ(page.objectName(), IdName(po::kTemplate));
  const std::vector<std::pair<int, std::vector<std::string>>> lists = {
      {po::kPort, {"光口A", "光口B", "光口C", "光口D"}},
      {po::kVc4, {"1", "2", "3", "4"}},
      {po::kG1Send, {"正常", "HP_RDI"}}};
  for (const auto& [id, items] : lists) {
    auto* list = Control<QComboBox>(&page, id);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), static_cast<int>(items.size())) << id;
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(list->itemText(static_cast<int>(i)).toStdString(), items[i]);
    }
    EXPECT_EQ(list->currentIndex(), 0) << id;
  }
  for (int id : {po::kJ1Received, po::kC2Received, po::kJ1Expected, po::kJ1Send, po::kC2Send,
                 po::kK3Send, po::kN1Send, po::kC2Expected}) {
    EXPECT_EQ(Text(&page, id), "") << id;
  }
  EXPECT_FALSE(Control<QLineEdit>(&page, po::kJ1Received)->isEnabled());
  EXPECT_FALSE(Control<QLineEdit>(&page, po::kC2Received)->isEnabled());
  EXPECT_TRUE(Control<QLineEdit>(&page, po::kJ1Expected)->isEnabled());
}

TEST_F(PathOverheadPageTest, ReadAtOpeningFillsThePageFromOneRead) {
  host.Answer(ReadOid(".13"), Response("02", "03", "08"));
  page.ReadPathOverhead(false);
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 0);
  EXPECT_EQ(requests[0].oid, "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.13");
  EXPECT_EQ(Text(&page, po::kPort), "光口C");
  EXPECT_EQ(Text(&page, po::kVc4), "4");
  EXPECT_EQ(Text(&page, po::kJ1Received), std::string(32, 'r'));
  EXPECT_EQ(Text(&page, po::kJ1Expected), std::string(32, 'e'));
  EXPECT_EQ(Text(&page, po::kJ1Send), std::string(32, 's'));
  EXPECT_EQ(Text(&page, po::kC2Received), "c1");
  EXPECT_EQ(Text(&page, po::kC2Expected), "c2");
  EXPECT_EQ(Text(&page, po::kC2Send), "c3");
  EXPECT_EQ(Text(&page, po::kK3Send), "k3");
  EXPECT_EQ(Text(&page, po::kG1Send), "HP_RDI");
  EXPECT_EQ(Text(&page, po::kN1Send), "n1");
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 0u);
  EXPECT_TRUE(op.Messages().empty());
  SaveScreenshot(&page, "path_overhead_page");

  host.Answer(ReadOid(".13"), Response("00", "00", "00"));
  page.ReadPathOverhead(false);
  EXPECT_EQ(Text(&page, po::kG1Send), "正常");
}

TEST_F(PathOverheadPageTest, ReadAtOpeningRejects119Characters) {
  host.Answer(ReadOid(".13"), Response("01", "01", "08").substr(0, 119));
  page.ReadPathOverhead(false);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"高阶通道开销配置数据信息不全"});
  EXPECT_EQ(CurrentIndex(&page, po::kPort), 0);
  EXPECT_EQ(Text(&page, po::kJ1Received), "");
}

TEST_F(PathOverheadPageTest, ReadButtonSelectsTheShownChannelBeforeReading) {
  FillValid();
  SelectItem(&page, po::kPort, "光口B");
  SelectItem(&page, po::kVc4, "4");
  readAnswer = Response("01", "03", "00").substr(0, 60);
  AnswerWritesWith("0");
  page.ReadPathOverhead(true);
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].operation, 1);
  EXPECT_EQ(requests[0].oid, WriteOid(".13"));
  EXPECT_EQ(requests[0].value.substr(0, 12), "3C0000000103");
  EXPECT_EQ(requests[0].preset, Gbk("高阶通道开销设置!"));
  EXPECT_EQ(requests[1].operation, 0);
  EXPECT_EQ(requests[1].oid, ReadOid(".13"));
  // The select's result is never reported; the 60 characters fill what they reach.
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(Text(&page, po::kJ1Received), std::string(32, 'r'));
  EXPECT_EQ(Text(&page, po::kJ1Expected), std::string(16, 'e'));
  EXPECT_EQ(Text(&page, po::kJ1Send), "");
  EXPECT_EQ(Text(&page, po::kN1Send), "");
  EXPECT_EQ(Text(&page, po::kG1Send), "HP_RDI");
}

TEST_F(PathOverheadPageTest, ReadButtonOnAnEmptyPageReadsWithoutSelecting) {
  host.Answer(ReadOid(".13"), Response("03", "01", "00"));
  page.ReadPathOverhead(true);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"高阶通道开销配置数据不全"});
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 0);
  EXPECT_EQ(Text(&page, po::kPort), "光口D");
  EXPECT_EQ(Text(&page, po::kVc4), "2");
}

TEST_F(PathOverheadPageTest, PositionsOutsideTheListsKeepTheLastChoice) {
  SelectItem(&page, po::kPort, "光口B");
  SelectItem(&page, po::kVc4, "3");
  host.Answer(ReadOid(".13"), Response("04", "99", "00"));
  page.ReadPathOverhead(false);
  EXPECT_EQ(CurrentIndex(&page, po::kPort), 1);
  EXPECT_EQ(CurrentIndex(&page, po::kVc4), 2);
  EXPECT_EQ(Text(&page, po::kJ1Received), std::string(32, 'r'));
}

TEST_F(PathOverheadPageTest, ReadThatThrowsEndsQuietly) {
  host.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("host"); });
  page.ReadPathOverhead(false);
  page.ReadPathOverhead(true);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"高阶通道开销配置数据不全"});
}

TEST_F(PathOverheadPageTest, SetSendsTheChosenChannelUpperCased) {
  FillValid();
  SelectItem(&page, po::kPort, "光口C");
  SelectItem(&page, po::kVc4, "3");
  SelectItem(&page, po::kG1Send, "HP_RDI");
  AnswerWritesWith("1");
  page.SetPathOverhead();
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string& value = requests[0].value;
  EXPECT_EQ(value, "3C0000010202" + std::string(32, '0') + std::string(32, 'E') +
                       std::string(32, 'F') + "00C2C300K308N1");
  EXPECT_EQ(value.substr(6 + 112, 2), "08");
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"高阶通道开销设置成功"});
  EXPECT_EQ(pause.sleeps, std::vector<int>{10});
}

TEST_F(PathOverheadPageTest, SetSendsTheReceivedValuesOfTheLastReadUpperCased) {
  host.Answer(ReadOid(".13"), Response("00", "01", "00"));
  page.ReadPathOverhead(false);
  const auto record = page.BuildPathRecord("01", true);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->size(), 116u);
  EXPECT_EQ(record->substr(6, 32), std::string(32, 'R'));
  EXPECT_EQ(record->substr(102, 2), "C1");
}

TEST_F(PathOverheadPageTest, SetStopsAtTheFirstBadValue) {
  FillValid();
  TypeInto(&page, po::kJ1Expected, std::string(31, 'e'));
  TypeInto(&page, po::kN1Send, "1");
  page.SetPathOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"J1期望接收值长度不是32位!"});
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(Text(&page, po::kJ1Expected), std::string(31, 'e'));
}

TEST_F(PathOverheadPageTest, TraceEditsAreLimitedToThirtyTwoBytes) {
  for (int id : {po::kJ1Expected, po::kJ1Send}) {
    TypeInto(&page, id, std::string(40, 'a'));
    EXPECT_EQ(Text(&page, id), std::string(32, 'a')) << id;
  }
  // The received J1 is display only, yet a text set into it is cut as well.
  Control<QLineEdit>(&page, po::kJ1Received)->setText(QString(33, QLatin1Char('r')));
  EXPECT_EQ(Text(&page, po::kJ1Received), std::string(32, 'r'));
  TypeInto(&page, po::kJ1Expected, std::string(17, 'a') + "源源源源源源源源");
  EXPECT_EQ(Text(&page, po::kJ1Expected), std::string(17, 'a') + "源源源源源源源");
}

}  // namespace
}  // namespace t740::test
