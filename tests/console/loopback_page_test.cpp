// The loopback page against a recording host: the page load rule, the
// write frame and every message of the page.
#include "pages/loopback_page.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <stdexcept>
#include <string>

#include "ids/loopback_page_ids.h"
#include "ids/progress_dialog_ids.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/held_pause.h"
#include "support/screenshot.h"

namespace t740::test {
namespace {

const char kReadOid[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.11";
const char kWriteOid[] = "1.3.6.1.4.1.47291.2.1.1.85.2.01.05.11";

namespace loopback = ids::loopback_page;

constexpr int kProgress = ids::progress_dialog::kTemplate;

// Box ids in bit order: LLP D, C, B, A, then RLP D, C, B, A. Written out as
// the template's numbers rather than taken from loopback::kBoxes: this is the
// test that holds the page's table to the boxes of the template and the bits
// of the card's loopback byte.
const int kBoxes[] = {1019, 1021, 1018, 1020, 1024, 1025, 1022, 1023};

class LoopbackPage : public DialogTest {
 protected:
  LoopbackPage() { op.AcceptAllMessages(); }

  // Selections as a text, bit 7 first: "1" for loopback.
  std::string Selections() {
    std::string text;
    for (int id : kBoxes) text.push_back(CurrentIndex(&page, id) == 1 ? '1' : '0');
    return text;
  }
  void Select(const std::string& bits) {
    for (size_t i = 0; i < bits.size(); ++i) SelectItem(&page, kBoxes[i], bits[i] == '1' ? 1 : 0);
  }
  // A first read from the cache, as the configuration window does it.
  void LoadInitially(const char* cache) {
    card.SetLoopbackCache(cache);
    page.Read();
    page.MarkInitialLoadDone();
  }

  CLoopbackPage page{card};
};

TEST_F(LoopbackPage, StartsWithEveryBoxOffOfTwoItems) {
  EXPECT_EQ(page.objectName(), IdName(loopback::kTemplate));
  for (int id : kBoxes) {
    auto* box = Control<QComboBox>(&page, id);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0).toStdString(), "不环回");
    EXPECT_EQ(box->itemText(1).toStdString(), "环回");
    EXPECT_EQ(box->currentIndex(), 0);
  }
  // The page's own save and read buttons are neither shown nor usable.
  for (int id : {loopback::kHiddenSet, loopback::kHiddenRead}) {
    auto* button = Control<QWidget>(&page, id);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isHidden());
    EXPECT_FALSE(button->isEnabled());
  }
}

TEST_F(LoopbackPage, FirstReadTakesTheCacheWithoutProgress) {
  LoadInitially("0100003C");
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(op.CountShown(kProgress), 0u);
  EXPECT_TRUE(page.CacheUsed());
  EXPECT_EQ(Selections(), "00111100");  // LLP B and A, RLP D and C
  EXPECT_TRUE(op.Messages().empty());
  page.resize(page.sizeHint());
  SaveScreenshot(&page, "loopback_page_zh");
}

// The page has a Chinese template only.
TEST_F(LoopbackPage, StaysChineseUnderAnEnglishLocale) {
  LoadInitially("0100003C");
  EXPECT_EQ(Text(&page, loopback::kLlpD), "不环回");
  EXPECT_EQ(Text(&page, loopback::kLlpA), "环回");
  page.resize(page.sizeHint());
  SaveScreenshot(&page, "loopback_page_en");
}

TEST_F(LoopbackPage, LaterReadsAskTheCardAndShowProgressBeforeTheBoxesChange) {
  LoadInitially("01000000");
  host.Answer(kReadOid, "010000FF");
  HeldPause held(200);  // the progress worker's first sleep, dialog open
  card.SetPause(held);
  std::string duringProgress;
  size_t requestsBeforeProgress = 0;
  op.OnDialog(kProgress, [&](QWidget*) {
    duringProgress = Selections();
    requestsBeforeProgress = host.Requests().size();
    held.release.Open();
  });
  page.Read();
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(requestsBeforeProgress, 1u);
  EXPECT_EQ(duringProgress, "00000000");
  EXPECT_EQ(Selections(), "11111111");
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 0);
  EXPECT_EQ(requests[0].oid, kReadOid);
  EXPECT_EQ(requests[0].ip, "10.1.2.3");
  EXPECT_EQ(requests[0].one, "1");
  EXPECT_EQ(requests[0].value, "");
}

TEST_F(LoopbackPage, ASecondReadBeforeTheInitialLoadIsMarkedShowsNoProgress) {
  card.SetLoopbackCache("01000000");
  page.Read();
  host.Answer(kReadOid, "01000080");
  page.Read();
  EXPECT_EQ(host.Requests().size(), 1u);
  EXPECT_EQ(op.CountShown(kProgress), 0u);
  EXPECT_EQ(Selections(), "10000000");
}

TEST_F(LoopbackPage, AShortResponseReportsIncompleteDataAndKeepsTheBoxes) {
  LoadInitially("0100003C");
  host.Answer(kReadOid, "010000");
  page.Read();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"环回控制数据信息不全"});
  EXPECT_EQ(op.CountShown(kProgress), 0u);
  EXPECT_EQ(Selections(), "00111100");
}

TEST_F(LoopbackPage, AnEmptyCacheReportsIncompleteDataOnTheFirstLoad) {
  LoadInitially("");
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"环回控制数据信息不全"});
  EXPECT_EQ(Selections(), "00000000");
}

TEST_F(LoopbackPage, SevenCharactersSetTheLlpBoxesAndLeaveRlpAlone) {
  LoadInitially("0100000F");
  host.Answer(kReadOid, "010000A");
  page.Read();
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(Selections(), "10101111");
}

TEST_F(LoopbackPage, MalformedAndOverlongResponsesChangeOnlyWhatTheyConvert) {
  LoadInitially("010000C3");
  host.Answer(kReadOid, "010000ZZZZ");  // nothing converts
  page.Read();
  EXPECT_EQ(Selections(), "11000011");
  host.Answer(kReadOid, "01000081" + std::string(4000, 'F'));
  page.Read();
  EXPECT_EQ(Selections(), "10000001");
  EXPECT_TRUE(op.Messages().empty());
}

TEST_F(LoopbackPage, AHostThatThrowsEndsTheReadSilently) {
  LoadInitially("0100003C");
  host.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("no route"); });
  page.Read();
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.CountShown(kProgress), 0u);
  EXPECT_EQ(Selections(), "00111100");
}

TEST_F(LoopbackPage, SetWritesTheHeadAndTheByteAndReportsSuccess) {
  host.OnRequest([](const RecordedRequest&, CText* response) { *response = CText("1"); });
  const struct {
    const char* boxes;
    const char* value;
  } cases[] = {{"11111111", "010000FF"},
               {"00000000", "01000000"},
               {"00000001", "01000001"},
               {"10000000", "01000080"}};
  for (const auto& c : cases) {
    Select(c.boxes);
    page.Set();
  }
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(requests[i].operation, 1);
    EXPECT_EQ(requests[i].oid, kWriteOid);
    EXPECT_EQ(requests[i].value, cases[i].value);
    EXPECT_EQ(requests[i].preset, "\xBB\xB7\xBB\xD8\xBF\xD8\xD6\xC6\xC9\xE8\xD6\xC3!");
  }
  EXPECT_EQ(op.Messages(), std::vector<std::string>(4, "环回控制设置成功"));
  std::lock_guard<std::mutex> lock(pause.mutex);
  EXPECT_EQ(pause.sleeps, std::vector<int>(4, 10));
  EXPECT_EQ(Selections(), "10000000");  // the boxes keep the operator's choice
}

TEST_F(LoopbackPage, SetReportsFailureForAnyAnswerButExactlyOne) {
  page.Set();  // the host leaves the preset
  host.OnRequest([](const RecordedRequest&, CText* response) { *response = CText("1 "); });
  page.Set();
  host.OnRequest([](const RecordedRequest&, CText* response) { *response = CText("01"); });
  page.Set();
  host.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("no route"); });
  page.Set();
  EXPECT_EQ(op.Messages(), std::vector<std::string>(4, "环回控制设置失败"));
}

TEST_F(LoopbackPage, AChangeMadeInThePageReachesTheCard) {
  // A card that keeps its loopback byte: written by a set, answered by a read.
  std::string byte = "00";
  host.OnRequest([&byte](const RecordedRequest& request, CText* response) {
    if (request.operation == 1 && request.oid == kWriteOid && request.value.size() == 8) {
      byte = request.value.substr(6);
      *response = CText("1");
    } else if (request.operation == 0 && request.oid == kReadOid) {
      *response = CText("010000" + byte);
    }
  });
  LoadInitially("01000000");
  SelectItem(&page, loopback::kRlpB, "环回");
  SelectItem(&page, loopback::kLlpC, "环回");
  page.Set();
  EXPECT_EQ(byte, "42");
  Select("00000000");
  page.Read();
  EXPECT_EQ(Selections(), "01000010");
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"环回控制设置成功"});
}

}  // namespace
}  // namespace t740::test
