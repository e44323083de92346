// The receiver on 127.0.0.1 against t740-sim --notify: a fibre pulled and
// put back arrives as two cues, by SNMPv2c trap and by SNMPv3 inform; a
// trap of a community not configured is counted and never delivered.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "alerter/notifications/notification_receiver.h"
#include "child_process.h"

namespace t740::alerter {
namespace {

using test::ProgramRun;
using test::RunProgram;
using test::ScratchDirectory;
using test::SimAgent;

// The cues as they come, for a test to wait on.
class CueLog {
 public:
  void Add(AlarmCue cue) {
    std::lock_guard<std::mutex> lock(mutex_);
    cues_.push_back(std::move(cue));
    arrived_.notify_all();
  }
  // The cues up to the one `last` picks; fails the test when none comes
  // while the receiver goes on for a long time.
  std::vector<AlarmCue> Until(const std::function<bool(const AlarmCue&)>& last) {
    std::unique_lock<std::mutex> lock(mutex_);
    const bool came = arrived_.wait_for(lock, std::chrono::seconds(30), [&] {
      for (const AlarmCue& cue : cues_) {
        if (last(cue)) return true;
      }
      return false;
    });
    EXPECT_TRUE(came) << "the awaited cue did not come";
    return cues_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<AlarmCue> cues_;
};

std::function<bool(const AlarmCue&)> Is(const std::string& port, const std::string& alarm,
                                        bool raised) {
  return [=](const AlarmCue& cue) {
    return cue.port == port && cue.alarm == alarm && cue.raised == raised;
  };
}

// "STM-LOS raised" for each cue of port A, in the order they came, each
// from the agent at `source`.
std::vector<std::string> OfPortA(const std::vector<AlarmCue>& cues, const std::string& source) {
  std::vector<std::string> seen;
  for (const AlarmCue& cue : cues) {
    if (cue.port != "A") continue;
    seen.push_back(cue.alarm + (cue.raised ? " raised" : " cleared"));
    EXPECT_EQ(cue.source, source);
    EXPECT_EQ(cue.cardIp, "192.168.1.100");
    EXPECT_EQ(cue.card, "0107");
  }
  return seen;
}

std::string FibrePull(const ScratchDirectory& files, const std::string& agent) {
  const std::string events = files.Path() + "/events";
  std::ofstream(events) << "+300ms " << agent << " 0107 A fibre-pulled\n+600ms " << agent
                        << " 0107 A fibre-restored\n";
  return events;
}

const std::vector<std::string> kPullAndRestore = {"STM-LOS raised", "STM-LOS cleared"};

ProgramRun SendTrap(const std::string& community, uint16_t port, const std::string& onPort) {
  const std::string objects = "1.3.6.1.4.1.47291.2.1.1.87.";
  return RunProgram(T740_SNMPTRAP, {"-v2c",
                                    "-c",
                                    community,
                                    "127.0.0.1:" + std::to_string(port),
                                    "",
                                    "1.3.6.1.4.1.47291.2.1.1.0.1",
                                    objects + "1.0",
                                    "s",
                                    "192.168.1.100",
                                    objects + "2.0",
                                    "s",
                                    "0107",
                                    objects + "3.0",
                                    "s",
                                    onPort,
                                    objects + "4.0",
                                    "s",
                                    "RS-OOF",
                                    objects + "5.0",
                                    "i",
                                    "1",
                                    objects + "6.0",
                                    "u",
                                    "1700000000"});
}

TEST(NotificationReceiverTest, TrapsOfTheCommunityArriveAsCuesAndOthersAreCounted) {
  CueLog log;
  ReceiverSettings settings;
  settings.listen = "127.0.0.1:0";
  settings.communities = {"watcher"};
  NotificationReceiver receiver(settings, [&log](AlarmCue cue) { log.Add(std::move(cue)); });
  ScratchDirectory files;
  // The agent listens on 127.0.0.3 and its notifications leave from there.
  SimAgent sim({"--agents", "127.0.0.3", "--notify", "127.0.0.1:" + std::to_string(receiver.Port()),
                "--read-community", "watcher", "--events", FibrePull(files, "127.0.0.3")});
  EXPECT_EQ(OfPortA(log.Until(Is("A", "STM-LOS", false)), "127.0.0.3"), kPullAndRestore);

  // The trap of a good community after the bad one marks that the bad one
  // has been read.
  ASSERT_EQ(SendTrap("intruder", receiver.Port(), "D").exitStatus, 0);
  ASSERT_EQ(SendTrap("watcher", receiver.Port(), "C").exitStatus, 0);
  const std::vector<AlarmCue> cues = log.Until(Is("C", "RS-OOF", true));
  for (const AlarmCue& cue : cues) EXPECT_NE(cue.port, "D");
  EXPECT_EQ(receiver.CountOf(NotificationOutcome::BadCommunity), 1u);
  EXPECT_EQ(receiver.CountOf(NotificationOutcome::Accepted), cues.size());
}

TEST(NotificationReceiverTest, InformsOfTheUserArriveAsCuesAndAreAcknowledged) {
  ScratchDirectory files;
  const std::string users = files.Path() + "/users";
  std::ofstream(users) << "alice authPriv SHA-256 alice-auth AES alice-priv\n";
  chmod(users.c_str(), 0600);
  CueLog log;
  ReceiverSettings settings;
  settings.listen = "127.0.0.1:0";
  settings.users = {{"alice", host::SecurityLevel::AuthPriv, host::AuthProtocol::Sha256,
                     host::PrivProtocol::Aes128, "alice-auth", "alice-priv"}};
  NotificationReceiver receiver(settings, [&log](AlarmCue cue) { log.Add(std::move(cue)); });
  SimAgent sim({"--notify", "127.0.0.1:" + std::to_string(receiver.Port()), "--v3-users", users,
                "--notify-v3-user", "alice", "--events", FibrePull(files, "127.0.0.1")});
  EXPECT_EQ(OfPortA(log.Until(Is("A", "STM-LOS", false)), "127.0.0.1"), kPullAndRestore);
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_EQ(sim.Errors().find("dropped"), std::string::npos) << sim.Errors();
  EXPECT_EQ(receiver.CountOf(NotificationOutcome::BadDigest), 0u);
}

}  // namespace
}  // namespace t740::alerter
