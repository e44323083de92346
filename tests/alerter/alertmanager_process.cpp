#include "alertmanager_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace t740::test {
namespace {

constexpr int kReadyPolls = 600;
constexpr auto kPollPause = std::chrono::milliseconds(100);

}  // namespace

const char kNullReceiverConfig[] = "route:\n  receiver: \"null\"\nreceivers:\n  - name: \"null\"\n";

int FreeTcpPort() {
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

AlertmanagerProcess::AlertmanagerProcess(const std::string& config)
    : port_(FreeTcpPort()), log_(directory_.Path() + "/alertmanager.log") {
  std::ofstream(directory_.Path() + "/alertmanager.yml") << config;
  Start();
}

AlertmanagerProcess::~AlertmanagerProcess() {
  Stop();
}

void AlertmanagerProcess::Start() {
  pid_ = SpawnLogged(
      T740_ALERTMANAGER,
      {"--config.file=" + directory_.Path() + "/alertmanager.yml",
       "--storage.path=" + directory_.Path(),
       "--web.listen-address=127.0.0.1:" + std::to_string(port_), "--cluster.listen-address="},
      directory_.Path(), log_);
}

void AlertmanagerProcess::Stop() {
  StopChild(pid_, exitStatus_);
}

bool AlertmanagerProcess::AwaitReady() const {
  httplib::Client client("127.0.0.1", port_);
  for (int poll = 0; poll < kReadyPolls; ++poll) {
    const auto result = client.Get("/-/ready");
    if (result && result->status == 200) return true;
    std::this_thread::sleep_for(kPollPause);
  }
  return false;
}

std::string AlertmanagerProcess::Log() const {
  return ReadWholeFile(log_);
}

}  // namespace t740::test
