#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "alerter/alertmanager/fetch_alerts.h"
#include "alerter/alertmanager/notifier.h"
#include "child_process.h"

namespace t740::alerter {
namespace {

constexpr int kReadyPolls = 600;
constexpr auto kPollPause = std::chrono::milliseconds(100);

int FreePort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  return ntohs(address.sin_port);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Debian's prometheus-alertmanager on 127.0.0.1 with a receiver that sends
// nothing, alone (no cluster), its state in a scratch directory.
class AlertmanagerProcess {
 public:
  AlertmanagerProcess() : port_(FreePort()), log_(directory_.Path() + "/alertmanager.log") {
    const std::string config = directory_.Path() + "/alertmanager.yml";
    std::ofstream(config) << "route:\n  receiver: \"null\"\nreceivers:\n  - name: \"null\"\n";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log_.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_ = test::Spawn(
        T740_ALERTMANAGER,
        {"--config.file=" + config, "--storage.path=" + directory_.Path(),
         "--web.listen-address=127.0.0.1:" + std::to_string(port_), "--cluster.listen-address="},
        directory_.Path(), &actions);
    posix_spawn_file_actions_destroy(&actions);
  }
  ~AlertmanagerProcess() { test::StopChild(pid_, exitStatus_); }

  AlertmanagerUrl Url() const {
    return ParseAlertmanagerUrl("http://127.0.0.1:" + std::to_string(port_));
  }
  bool AwaitReady() const {
    httplib::Client client("127.0.0.1", port_);
    for (int poll = 0; poll < kReadyPolls; ++poll) {
      const auto result = client.Get("/-/ready");
      if (result && result->status == 200) return true;
      std::this_thread::sleep_for(kPollPause);
    }
    return false;
  }
  std::string Log() const { return ReadFile(log_); }

 private:
  test::ScratchDirectory directory_;
  int port_;
  std::string log_;
  pid_t pid_ = -1;
  int exitStatus_ = -1;
};

std::vector<Alert> AwaitAlerts(const AlertmanagerUrl& url, const std::string& filter) {
  std::vector<Alert> alerts;
  for (int poll = 0; poll < kReadyPolls && alerts.empty(); ++poll) {
    alerts = FetchAlerts(url, {filter});
    if (alerts.empty()) std::this_thread::sleep_for(kPollPause);
  }
  return alerts;
}

TEST(AlertmanagerProcess, TakesPostedAlertsWithAwkwardBytesAndGivesThemBack) {
  AlertmanagerProcess alertmanager;
  ASSERT_TRUE(alertmanager.AwaitReady()) << alertmanager.Log();

  Alert alert;
  alert.labels = {
      {"alertname", "T740LossOfSignal"}, {"card", "01"}, {"trace", "q\"b\\s\n\x01 机房\xff"}};
  alert.annotations = {{"summary", "loss of signal, port 1"}};
  alert.startsAt = std::chrono::time_point_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now() - std::chrono::minutes(1));
  alert.endsAt = alert.startsAt + std::chrono::hours(1);
  Alert other = alert;
  other.labels["alertname"] = "T740Other";
  Notifier notifier({alertmanager.Url()}, DeliveryOptions{});
  notifier.Send({alert, other});

  const std::vector<Alert> back = AwaitAlerts(alertmanager.Url(), "alertname=\"T740LossOfSignal\"");
  ASSERT_EQ(back.size(), 1u) << alertmanager.Log();
  auto expected = alert.labels;
  expected["trace"] = "q\"b\\s\n\x01 机房\xef\xbf\xbd";
  EXPECT_EQ(back[0].labels, expected);
  EXPECT_EQ(back[0].annotations, alert.annotations);
  EXPECT_EQ(back[0].startsAt, alert.startsAt);
  EXPECT_EQ(back[0].endsAt, alert.endsAt);
  EXPECT_EQ(back[0].state, "active");
}

}  // namespace
}  // namespace t740::alerter
