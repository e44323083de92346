// The two threads of the configuration window, the start-up poll's worker
// and the user-interface thread, meant to run under ThreadSanitizer (label
// "thread"): the host is called by one thread at a time, the pages see what
// the worker stored, a dialog that goes away while its worker is inside the
// host waits for it, and workers come and go back to back, also for one
// dialog shown again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "ids/config_window_ids.h"
#include "ids/device_page_ids.h"
#include "ids/progress_dialog_ids.h"
#include "sim/default_card.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gate.h"
#include "support/held_pause.h"
#include "widgets/poll_progress_dlg.h"
#include "windows/config_dlg.h"
#include "windows/install_configuration_window.h"

namespace t740::test {
namespace {

using namespace std::chrono_literals;
namespace cw = ids::config_window;
namespace dp = ids::device_page;

class ThreadChecks : public DialogTest {
 protected:
  ThreadChecks() {
    InstallConfigurationWindow();
    op.AcceptAllMessages();
  }

  // Answers every read completely and every write with "1", holding each
  // call a little so that a second caller would overlap it.
  void AnswerEverything(std::string versions) {
    host.OnRequest([this, versions](const RecordedRequest& request, CText* response) {
      const int inFlight = ++callsInFlight;
      int seen = mostInFlight.load();
      while (inFlight > seen && !mostInFlight.compare_exchange_weak(seen, inFlight)) {
      }
      {
        std::lock_guard<std::mutex> lock(mutex);
        callers.push_back(std::this_thread::get_id());
      }
      std::this_thread::sleep_for(1ms);
      *response = CText(Answer(request, versions));
      --callsInFlight;
    });
  }

  std::string Answer(const RecordedRequest& request, const std::string& versions) const {
    if (request.operation == 1) return "1";
    auto full = [](std::string head, size_t length) {
      head.resize(length, '0');
      return head;
    };
    if (request.oid == ReadOid(".1")) return "010000" + versions;
    if (request.oid == ReadOid(".11")) return "0100003C";
    if (request.oid == ReadOid(".12")) return full("F00000", 486);
    if (request.oid == ReadOid(".13")) return full("3C0000000102", 122);
    if (request.oid == ReadOid(".51")) return full("D80000", 438);
    return "";
  }

  std::vector<std::thread::id> Callers() {
    std::lock_guard<std::mutex> lock(mutex);
    return callers;
  }

  std::atomic<int> callsInFlight{0};
  std::atomic<int> mostInFlight{0};
  std::mutex mutex;
  std::vector<std::thread::id> callers;
};

TEST_F(ThreadChecks, TheHostIsCalledByOneThreadAtATimeAndThePagesSeeThePoll) {
  const std::thread::id uiThread = std::this_thread::get_id();
  for (int opening = 0; opening < 4; ++opening) {
    const std::string versions = "1" + std::to_string(opening) + "23";
    AnswerEverything(versions);
    {
      std::lock_guard<std::mutex> lock(mutex);
      callers.clear();
    }
    op.OnDialog(cw::kTemplate, [&](QWidget* window) {
      EXPECT_EQ(Text(Page(window, dp::kTemplate), dp::kSoftwareVersion),
                "V1." + std::to_string(opening));
      auto* tabs = Control<QTabWidget>(window, cw::kTabs);
      for (int tab = 1; tab <= 4; ++tab) {
        tabs->setCurrentIndex(tab);
        Click(window, cw::kRead);
        Click(window, cw::kSet);
      }
      Click(window, cw::kExit);
    });
    card.OpenConfiguration(nullptr, CText("10.1.2.3"), CText("0105"), &record);
    ASSERT_TRUE(op.Done());

    const std::vector<std::thread::id> threads = Callers();
    ASSERT_GT(threads.size(), 4u);
    // The poll's four reads come from its worker, everything after from the
    // user-interface thread.
    const std::set<std::thread::id> pollThreads(threads.begin(), threads.begin() + 4);
    EXPECT_EQ(pollThreads.size(), 1u);
    EXPECT_NE(*pollThreads.begin(), uiThread);
    for (size_t i = 4; i < threads.size(); ++i) EXPECT_EQ(threads[i], uiThread) << "call " << i;
  }
  EXPECT_EQ(mostInFlight.load(), 1);
}

TEST_F(ThreadChecks, ADialogGoingAwayWhileItsWorkerIsInTheHostWaitsForIt) {
  Gate entered;
  Gate release;
  std::atomic<int> calls{0};
  host.OnRequest([&](const RecordedRequest&, CText* response) {
    ++calls;
    entered.Open();
    EXPECT_TRUE(release.Wait());
    *response = CText("0100002110");
  });
  card.SetBasicInfoCache("before");
  auto* dialog = new CPollProgressDlg(1, &card, nullptr);
  dialog->show();
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!entered.IsOpen() && std::chrono::steady_clock::now() < deadline) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  ASSERT_TRUE(entered.IsOpen()) << "the worker never reached the host";
  std::thread opener([&] {
    std::this_thread::sleep_for(50ms);
    release.Open();
  });
  delete dialog;
  opener.join();
  EXPECT_EQ(calls.load(), 1);
  // A poll cut short stores nothing.
  EXPECT_EQ(card.GetBasicInfoCache(), "before");
}

TEST_F(ThreadChecks, ProgressWorkersComeAndGoBackToBack) {
  for (int run = 0; run < 20; ++run) {
    CPollProgressDlg progress(&card);
    progress.exec();
  }
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 20u);
  EXPECT_TRUE(host.Requests().empty());
}

TEST_F(ThreadChecks, ADialogShownAgainWhileItsLastWorkerEndsRunsAgain) {
  // The worker has closed the dialog and sits in its last pause when the
  // dialog is shown again; the new showing needs a worker of its own.
  HeldPause held(100);
  card.SetPause(held);
  CPollProgressDlg progress(&card);
  progress.exec();
  ASSERT_TRUE(held.reached.Wait());
  std::thread releaser([&] {
    std::this_thread::sleep_for(50ms);
    held.release.Open();
  });
  progress.exec();
  releaser.join();
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 2u);
}

TEST_F(ThreadChecks, OpeningsAgainstASlowCardWithRealPauses) {
  sim::SimulatedCard simulated(sim::DefaultIdentity(), sim::DefaultCardState(), sim::WallClock(),
                               sim::kDefaultUptimeSeconds);
  card.SetRequestFunction(sim::BindRequestFunction(simulated));
  card.SetPause(RealPause());
  for (int opening = 0; opening < 2; ++opening) {
    simulated.InjectFault({sim::FaultKind::Delay, "", -1, 6, 3});
    op.OnDialog(cw::kTemplate, [](QWidget* window) {
      EXPECT_EQ(Text(Page(window, dp::kTemplate), dp::kSoftwareVersion), "V2.1");
      auto* tabs = Control<QTabWidget>(window, cw::kTabs);
      tabs->setCurrentIndex(1);
      Click(window, cw::kRead);
      Click(window, cw::kExit);
    });
    card.OpenConfiguration(nullptr, CText(sim::kDefaultIp), CText(sim::kDefaultCardAddress),
                           &record);
    EXPECT_TRUE(op.Done());
    simulated.ClearFaults();
  }
  EXPECT_TRUE(op.Messages().empty());
  sim::UnbindRequestFunction(simulated);
}

}  // namespace
}  // namespace t740::test
