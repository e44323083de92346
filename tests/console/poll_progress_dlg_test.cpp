// The progress dialog in both modes, driven on the offscreen platform with
// a recording host and a recording pause.
#include "widgets/poll_progress_dlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <atomic>
#include <numeric>
#include <stdexcept>
#include <string>

#include "core/card/card_app.h"
#include "ids/progress_dialog_ids.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gate.h"
#include "support/held_pause.h"
#include "support/held_poll.h"
#include "support/screenshot.h"

namespace t740::test {
namespace {

namespace progress = ids::progress_dialog;

const char kBasicOid[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.1";
const char kLoopbackOid[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.11";
const char kSectionOid[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.12";
const char kThresholdOid[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.51";

class PollProgressDialog : public DialogTest {
 protected:
  void AnswerAllFour() {
    host.Answer(kBasicOid, "0100002110");
    host.Answer(kLoopbackOid, "0100003C");
    host.Answer(kSectionOid, "F00000AB");
    host.Answer(kThresholdOid, "D80000CD");
  }

  // Follows the bar from the UI thread; the host's handler reads it from
  // the worker thread.
  void WatchBar(CPollProgressDlg& dialog) {
    auto* bar = Control<QProgressBar>(&dialog, progress::kBar);
    ASSERT_NE(bar, nullptr);
    QObject::connect(bar, &QProgressBar::valueChanged, [this, bar](int value) {
      positions.push_back(value);
      lastPosition = value;
      maximum = bar->maximum();
    });
  }

  std::vector<int> positions;
  std::atomic<int> lastPosition{-1};
  int maximum = 0;
};

TEST_F(PollProgressDialog, ReadsTheFourGroupsInOrderAtTheirBarSteps) {
  SetIdentity("10.1.2.3", "105");  // three characters give the fields 01 and 05
  std::vector<int> positionAtRequest;
  host.OnRequest([&](const RecordedRequest&, CText* response) {
    positionAtRequest.push_back(lastPosition);
    *response = CText("010000");
  });
  CPollProgressDlg dialog(1, &card, nullptr);
  WatchBar(dialog);
  dialog.exec();

  const std::vector<RecordedRequest> requests = host.Requests();
  ASSERT_EQ(requests.size(), 4u);
  const char* const oids[] = {kBasicOid, kLoopbackOid, kSectionOid, kThresholdOid};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(requests[i].operation, 0);
    EXPECT_EQ(requests[i].ip, "10.1.2.3");
    EXPECT_EQ(requests[i].oid, oids[i]);
    EXPECT_EQ(requests[i].one, "1");
    EXPECT_EQ(requests[i].value, "");
    EXPECT_EQ(requests[i].preset, "");
  }
  EXPECT_EQ(positionAtRequest, (std::vector<int>{30, 60, 90, 120}));
  // Every step once, in order, and the last one short of the full range.
  std::vector<int> steps(149);
  std::iota(steps.begin(), steps.end(), 1);
  ASSERT_GE(positions.size(), steps.size());
  EXPECT_TRUE(std::equal(steps.begin(), steps.end(), positions.end() - 149));
  EXPECT_EQ(maximum, 150);
}

TEST_F(PollProgressDialog, StoresTheCachesBeforeClosingAndTakesItsTime) {
  AnswerAllFour();
  HeldPause held(100);  // the worker's last sleep, after the close
  card.SetPause(held);
  {
    CPollProgressDlg dialog(1, &card, nullptr);
    dialog.exec();
    // Closed, and the worker is still in its last sleep: the stores are done.
    EXPECT_TRUE(held.reached.Wait());
    EXPECT_EQ(card.GetBasicInfoCache(), "0100002110");
    EXPECT_EQ(card.GetLoopbackCache(), "0100003C");
    EXPECT_EQ(card.GetSectionOverheadCache(), "F00000AB");
    EXPECT_EQ(card.GetThresholdCache(), "D80000CD");
  }
  // The dialog went away without waiting for the worker's last sleep.
  held.release.Open();
  CCardApp::Instance().Workers().JoinAll();
  const std::vector<int> sleeps = held.Sleeps();
  ASSERT_EQ(sleeps.size(), 1u + 154u + 2u);
  EXPECT_EQ(sleeps.front(), 200);
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 1), 154);
  EXPECT_EQ(sleeps[sleeps.size() - 2], 200);
  EXPECT_EQ(sleeps.back(), 100);
}

TEST_F(PollProgressDialog, AHostThatThrowsLosesOnlyThatGroup) {
  AnswerAllFour();
  host.OnRequest([](const RecordedRequest& request, CText* response) {
    if (request.oid == kLoopbackOid) throw std::runtime_error("link down");
    *response = CText("0100009999");
  });
  card.SetLoopbackCache("old");
  CPollProgressDlg dialog(1, &card, nullptr);
  dialog.exec();
  EXPECT_EQ(host.Requests().size(), 4u);
  EXPECT_EQ(card.GetBasicInfoCache(), "0100009999");
  EXPECT_EQ(card.GetLoopbackCache(), "");
  EXPECT_EQ(card.GetSectionOverheadCache(), "0100009999");
  EXPECT_EQ(card.GetThresholdCache(), "0100009999");
}

TEST_F(PollProgressDialog, AHostThatAnswersNothingEmptiesEveryCache) {
  card.SetBasicInfoCache("old");
  card.SetLoopbackCache("old");
  card.SetSectionOverheadCache("old");
  card.SetThresholdCache("old");
  CPollProgressDlg dialog(1, &card, nullptr);
  dialog.exec();
  EXPECT_EQ(card.GetBasicInfoCache(), "");
  EXPECT_EQ(card.GetLoopbackCache(), "");
  EXPECT_EQ(card.GetSectionOverheadCache(), "");
  EXPECT_EQ(card.GetThresholdCache(), "");
}

TEST_F(PollProgressDialog, DisplayModeOnlyRunsTheBar) {
  AnswerAllFour();
  card.SetLoopbackCache("kept");
  {
    CPollProgressDlg dialog(&card);  // display mode
    EXPECT_EQ(dialog.Mode(), 0);
    WatchBar(dialog);
    dialog.exec();
  }
  // The worker's last pause runs on after the close.
  CCardApp::Instance().Workers().JoinAll();
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(card.GetLoopbackCache(), "kept");
  EXPECT_EQ(card.GetBasicInfoCache(), "");
  EXPECT_EQ(positions.back(), 149);
  std::lock_guard<std::mutex> lock(pause.mutex);
  ASSERT_EQ(pause.sleeps.size(), 153u);
  EXPECT_EQ(pause.sleeps.front(), 200);
  EXPECT_EQ(std::count(pause.sleeps.begin(), pause.sleeps.end(), 0), 150);
  EXPECT_EQ(pause.sleeps.back(), 100);
}

TEST_F(PollProgressDialog, EscapeAndCloseRequestsDoNotEndIt) {
  Gate tried;
  host.OnRequest([&](const RecordedRequest& request, CText*) {
    if (request.oid == kBasicOid) {
      EXPECT_TRUE(tried.Wait());
    }
  });
  bool stillOpen = false;
  op.OnDialog(progress::kTemplate, [&](QWidget* window) {
    PressKey(window, Qt::Key_Escape);
    window->close();
    static_cast<QDialog*>(window)->reject();
    stillOpen = window->isVisible();
    tried.Open();
  });
  CPollProgressDlg dialog(1, &card, nullptr);
  dialog.exec();
  EXPECT_TRUE(op.Done());
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(host.Requests().size(), 4u);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(PollProgressDialog, ADialogDestroyedEarlyStopsItsWorkerAndWritesNoCache) {
  AnswerAllFour();
  card.SetBasicInfoCache("old");
  auto* dialog = new CPollProgressDlg(1, &card, nullptr);
  dialog->show();  // starts the worker; no event loop runs for it
  delete dialog;
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(card.GetBasicInfoCache(), "old");
}

TEST_F(PollProgressDialog, RunsWithTheRealTimings) {
  AnswerAllFour();
  card.SetPause(RealPause());
  CPollProgressDlg dialog(1, &card, nullptr);
  dialog.exec();
  EXPECT_EQ(host.Requests().size(), 4u);
  EXPECT_EQ(card.GetThresholdCache(), "D80000CD");
}

// Shows the dialog held at the loopback read and takes its picture.
void ShowHeldAtLoopback(CCardObject& card, RecordingCard& host, Operator& op,
                        std::string_view screenshot, std::string* label) {
  RunPollHeldAtLoopback(card, host, op, [&](QWidget* window) {
    *label = window->findChild<QLabel*>("pollingLabel")->text().toStdString();
    SaveScreenshot(window, screenshot);
  });
}

TEST_F(PollProgressDialog, SpeaksChineseAndHasNoCaption) {
  std::string label;
  ShowHeldAtLoopback(card, host, op, "poll_progress_zh", &label);
  EXPECT_EQ(label, "正在进行轮徇，请稍等...");
  CPollProgressDlg dialog(&card);
  EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(dialog.objectName(), IdName(progress::kTemplate));
}

TEST_F(PollProgressDialog, SpeaksEnglishUnderAnEnglishLocale) {
  std::string label;
  ShowHeldAtLoopback(card, host, op, "poll_progress_en", &label);
  EXPECT_EQ(label, "Polling is, please wait........");
}

}  // namespace
}  // namespace t740::test
