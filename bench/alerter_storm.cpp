// t740-alerter between a t740-sim network of 10 agents x 100 cards
// (0101-0200) and Debian's prometheus-alertmanager, all on 127.0.0.0/8, on
// one schedule of line faults (t740-sim --events):
//
//  1. latency: single fibre pulls 50 ms apart, each timed from the moment
//     the card's notification reaches the benchmark (t740-sim notifies the
//     benchmark beside the alerter) to the first poll of Alertmanager's
//     /api/v2/alerts that lists its T740LossOfSignal alert (a poll every
//     20 ms), beside the polling road's time worked out from the example
//     configuration (15 s scrapes and evaluations, `for: 30s`);
//  2. throughput: storms, every port of every card pulled or restored at
//     one event time, 1 s apart: notifications taken in and alerts posted
//     a second, each change posted once (the alerter's counters against
//     the notifications the cards sent), and Alertmanager's alerts against
//     what the cards last said;
//  3. memory: the alerter's resident memory at start, after the storms, and
//     while Alertmanager is stopped and the storms go on (the queue's bound
//     held), and after it is back and the queue drained.
//
//   alerter_storm [--latency-faults N] [--storms N] [--outage-storms N]
//
// --latency-faults: at most 200 (200 by default); --storms: odd, so that
// the phase ends with every fibre pulled (7 by default); --outage-storms:
// even, for the same reason (10 by default).
#include <arpa/inet.h>
#include <ftw.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "http_connection.h"
#include "logged_process.h"
#include "sim_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using t740::bench::HttpConnection;
using t740::bench::LoggedProcess;

constexpr char kBenchmark[] = "alerter_storm";
constexpr int kAgents = 10;
constexpr int kFirstCard = 101;
constexpr int kCardsPerAgent = 100;
constexpr char kPorts[] = "ABCD";
constexpr int kMaxLatencyFaults = 200;

// The schedule, in seconds from the moment every agent listens.
constexpr double kLatencyStart = 8.0;
constexpr double kLatencySpacing = 0.05;
constexpr double kStormSpacing = 1.0;
constexpr double kQuietBeforeOutage = 12.0;  // after the last storm
constexpr double kOutageLead = 2.0;          // Alertmanager stops this long before
constexpr double kOutageTail = 3.0;          // and starts this long after its storms

constexpr auto kAlertsPoll = std::chrono::milliseconds(20);
constexpr auto kMetricsPoll = std::chrono::milliseconds(20);
constexpr auto kQuietFor = std::chrono::seconds(1);
constexpr auto kDrainPatience = std::chrono::seconds(30);

// The goals.
constexpr double kLatencyGoalSeconds = 1.0;
constexpr double kThroughputGoal = 2000;  // notifications a second
constexpr double kQueueCapacity = 10000;

// The polling road, exporter/examples/prometheus.yml and
// exporter/rules/t740-alerts.yml.
constexpr double kScrapeSeconds = 15;
constexpr double kEvaluationSeconds = 15;
constexpr double kForSeconds = 30;

constexpr char kLossAlerts[] = "/api/v2/alerts?filter=alertname%3D%22T740LossOfSignal%22";

struct Settings {
  int latencyFaults = kMaxLatencyFaults;
  int storms = 7;
  int outageStorms = 10;
};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", kBenchmark, what.c_str());
  std::exit(1);
}

int Number(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || value < 1 || value > 1000) Fail("bad count: " + text);
  return static_cast<int>(value);
}

Settings Parse(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (++i >= argc) Fail(option + " needs a value");
    if (option == "--latency-faults") {
      settings.latencyFaults = std::min(Number(argv[i]), kMaxLatencyFaults);
    } else if (option == "--storms") {
      settings.storms = Number(argv[i]) | 1;
    } else if (option == "--outage-storms") {
      settings.outageStorms = (Number(argv[i]) + 1) / 2 * 2;
    } else {
      Fail("unknown option " + option);
    }
  }
  return settings;
}

double Seconds(Clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

std::string AgentIp(int agent) {
  return "127.0.0." + std::to_string(agent + 1);
}

std::string CardAddress(int card) {
  return "0" + std::to_string(card);
}

// A port on 127.0.0.1 free at the moment, for a program that must be told
// its port before it starts.
uint16_t FreePort(int type) {
  const int probe = socket(AF_INET, type, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    Fail("cannot find a free port");
  }
  close(probe);
  return ntohs(address.sin_port);
}

// A scratch directory for the run's files, removed at the end.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char pattern[] = "/tmp/alerter_storm-XXXXXX";
    if (!mkdtemp(pattern)) Fail("cannot make a temporary directory");
    path_ = pattern;
  }
  // Alertmanager leaves its own files in its storage directory.
  ~ScratchDirectory() {
    nftw(
        path_.c_str(), [](const char* path, const struct stat*, int, FTW*) { return remove(path); },
        16, FTW_DEPTH | FTW_PHYS);
  }
  std::string Write(const std::string& name, const std::string& text) const {
    const std::string path = path_ + "/" + name;
    std::ofstream(path) << text;
    return path;
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// ---- The cards' notifications, as the benchmark receives them ----

// "1.3.6.1..." as BER content octets, to find a varbind by its name.
std::string EncodedOid(const std::string& dotted) {
  std::vector<unsigned long> arcs;
  std::istringstream text(dotted);
  for (std::string arc; std::getline(text, arc, '.');) arcs.push_back(std::stoul(arc));
  std::string octets(1, static_cast<char>(arcs[0] * 40 + arcs[1]));
  for (size_t i = 2; i < arcs.size(); ++i) {
    std::string arc(1, static_cast<char>(arcs[i] & 0x7F));
    for (unsigned long rest = arcs[i] >> 7; rest != 0; rest >>= 7) {
      arc.insert(arc.begin(), static_cast<char>(0x80 | (rest & 0x7F)));
    }
    octets += arc;
  }
  return octets;
}

const std::string kCardOid = EncodedOid("1.3.6.1.4.1.47291.2.1.1.87.2.0");
const std::string kPortOid = EncodedOid("1.3.6.1.4.1.47291.2.1.1.87.3.0");
const std::string kAlarmOid = EncodedOid("1.3.6.1.4.1.47291.2.1.1.87.4.0");
const std::string kStateOid = EncodedOid("1.3.6.1.4.1.47291.2.1.1.87.5.0");

// Every primitive value that follows an OBJECT IDENTIFIER, by that
// identifier: the varbinds, whatever the message's envelope.
void CollectVarbinds(const std::string& message, size_t at, size_t end,
                     std::map<std::string, std::string>& varbinds, std::string& name) {
  while (at + 2 <= end) {
    const auto tag = static_cast<unsigned char>(message[at++]);
    size_t length = static_cast<unsigned char>(message[at++]);
    if (length & 0x80) {
      const size_t octets = length & 0x7F;
      length = 0;
      for (size_t k = 0; k < octets && at < end; ++k) {
        length = length << 8 | static_cast<unsigned char>(message[at++]);
      }
    }
    if (length > end - at) return;
    const std::string content = message.substr(at, length);
    if (tag & 0x20) {
      CollectVarbinds(message, at, at + length, varbinds, name);
    } else if (tag == 0x06) {
      name = content;
    } else if (!name.empty()) {
      varbinds[name] = content;
      name.clear();
    }
    at += length;
  }
}

struct Change {
  Clock::time_point at;
  std::string key;  // "127.0.0.3/0104/B"
  std::string alarm;
  bool raised = false;
};

bool ReadChange(const std::string& message, const std::string& agent, Change& change) {
  std::map<std::string, std::string> varbinds;
  std::string name;
  CollectVarbinds(message, 0, message.size(), varbinds, name);
  for (const std::string* oid : {&kCardOid, &kPortOid, &kAlarmOid, &kStateOid}) {
    if (varbinds.count(*oid) == 0) return false;
  }
  change.key = agent + "/" + varbinds[kCardOid] + "/" + varbinds[kPortOid];
  change.alarm = varbinds[kAlarmOid];
  change.raised = varbinds[kStateOid] == std::string(1, '\1');
  return true;
}

// The benchmark's own notification target: every change the cards sent,
// with the moment it arrived. Its socket buffer is as large as the system
// allows, so that a storm reaches it whole.
class ChangeLog {
 public:
  ChangeLog() {
    socket_ = socket(AF_INET, SOCK_DGRAM, 0);
    const int buffer = 4 << 20;
    setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      Fail("cannot bind the notification log");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&ChangeLog::Run, this);
  }
  ~ChangeLog() {
    stop_ = true;
    thread_.join();
    close(socket_);
  }

  uint16_t Port() const { return port_; }
  std::vector<Change> Since(Clock::time_point start) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Change> since;
    for (const Change& change : changes_) {
      if (change.at >= start) since.push_back(change);
    }
    return since;
  }
  // The ports whose loss of signal the cards last reported raised.
  std::set<std::string> LossOfSignal() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::set<std::string> lost;
    for (const Change& change : changes_) {
      if (change.alarm != "STM-LOS") continue;
      if (change.raised) {
        lost.insert(change.key);
      } else {
        lost.erase(change.key);
      }
    }
    return lost;
  }

 private:
  void Run() {
    pollfd watched{socket_, POLLIN, 0};
    std::string message(65536, '\0');
    while (!stop_) {
      if (poll(&watched, 1, 100) <= 0) continue;
      sockaddr_in from{};
      socklen_t length = sizeof from;
      const ssize_t size = recvfrom(socket_, message.data(), message.size(), MSG_DONTWAIT,
                                    reinterpret_cast<sockaddr*>(&from), &length);
      if (size <= 0) continue;
      Change change;
      change.at = Clock::now();
      char agent[INET_ADDRSTRLEN] = "";
      inet_ntop(AF_INET, &from.sin_addr, agent, sizeof agent);
      if (!ReadChange(message.substr(0, static_cast<size_t>(size)), agent, change)) continue;
      std::lock_guard<std::mutex> lock(mutex_);
      changes_.push_back(std::move(change));
    }
  }

  int socket_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<Change> changes_;
};

// ---- The schedule ----

struct LatencyFault {
  std::string agent;
  std::string card;
  char port;
  std::string Key() const { return agent + "/" + card + "/" + port; }
};

// Faults spread over the agents, cards and ports, no two on one port.
std::vector<LatencyFault> LatencyFaults(int count) {
  std::vector<LatencyFault> faults;
  for (int i = 0; i < count; ++i) {
    faults.push_back({AgentIp(i % kAgents), CardAddress(kFirstCard + (i / kAgents) * 5),
                      kPorts[(i / kAgents) % 4]});
  }
  return faults;
}

struct Schedule {
  double stormsStart = 0;
  double outageStart = 0;  // its first storm
  double outageEnd = 0;    // Alertmanager back
  double end = 0;
};

Schedule ScheduleFor(const Settings& settings) {
  Schedule schedule;
  schedule.stormsStart = kLatencyStart + settings.latencyFaults * kLatencySpacing + 5;
  schedule.outageStart =
      schedule.stormsStart + settings.storms * kStormSpacing + kQuietBeforeOutage;
  schedule.outageEnd = schedule.outageStart + settings.outageStorms * kStormSpacing + kOutageTail;
  return schedule;
}

std::string EventTime(double seconds) {
  return "+" + std::to_string(static_cast<long>(seconds * 1000 + 0.5)) + "ms";
}

// Every port of every card pulled (or restored) at one moment.
void WriteStorm(std::ostream& events, double at, bool pull) {
  for (int agent = 0; agent < kAgents; ++agent) {
    for (int card = kFirstCard; card < kFirstCard + kCardsPerAgent; ++card) {
      for (const char port : std::string(kPorts)) {
        events << EventTime(at) << ' ' << AgentIp(agent) << ' ' << CardAddress(card) << ' ' << port
               << (pull ? " fibre-pulled\n" : " fibre-restored\n");
      }
    }
  }
}

// Storms alternate pulls and restores, a pull first in the first phase and
// a restore first while Alertmanager is away.
std::string EventsText(const Settings& settings, const Schedule& schedule) {
  std::ostringstream events;
  const std::vector<LatencyFault> faults = LatencyFaults(settings.latencyFaults);
  for (size_t i = 0; i < faults.size(); ++i) {
    events << EventTime(kLatencyStart + static_cast<double>(i) * kLatencySpacing) << ' '
           << faults[i].agent << ' ' << faults[i].card << ' ' << faults[i].port
           << " fibre-pulled\n";
  }
  for (int k = 0; k < settings.storms; ++k) {
    WriteStorm(events, schedule.stormsStart + k * kStormSpacing, k % 2 == 0);
  }
  for (int k = 0; k < settings.outageStorms; ++k) {
    WriteStorm(events, schedule.outageStart + k * kStormSpacing, k % 2 == 1);
  }
  return events.str();
}

// ---- The alerter's and Alertmanager's pages ----

// The sum of the samples of `family` whose labels contain `labels`
// ("outcome=\"accepted\""; empty for any).
double Sample(const std::string& page, const std::string& family, const std::string& labels) {
  double sum = 0;
  std::istringstream lines(page);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(family, 0) != 0) continue;
    const char next = line[family.size()];
    if (next != '{' && next != ' ') continue;
    if (!labels.empty() && line.find(labels) == std::string::npos) continue;
    sum += std::atof(line.c_str() + line.rfind(' ') + 1);
  }
  return sum;
}

struct AlerterCounts {
  Clock::time_point at;
  double accepted = 0;
  double sent = 0;
  double dropped = 0;
  double failed = 0;
  double queue = 0;
  double probes = 0;
  double probeFailures = 0;
  double notifications = 0;  // every outcome
  double rcvbufErrors = 0;   // the host's, every UDP socket's
};

// The host's count of UDP datagrams dropped because a socket's receive
// buffer was full (/proc/net/snmp, the second "Udp:" line).
double RcvbufErrors() {
  std::ifstream snmp("/proc/net/snmp");
  std::string names;
  for (std::string line; std::getline(snmp, line);) {
    if (line.rfind("Udp:", 0) != 0) continue;
    if (names.empty()) {
      names = line;
      continue;
    }
    std::istringstream name(names), value(line);
    for (std::string n, v; name >> n && value >> v;) {
      if (n == "RcvbufErrors") return std::atof(v.c_str());
    }
  }
  return 0;
}

AlerterCounts ReadCounts(HttpConnection& alerter) {
  const std::string page = alerter.Get("/metrics").body;
  AlerterCounts counts;
  counts.at = Clock::now();
  counts.rcvbufErrors = RcvbufErrors();
  counts.accepted = Sample(page, "t740_alerter_notifications_total", "outcome=\"accepted\"");
  counts.sent = Sample(page, "t740_alerter_alerts_sent_total", "");
  counts.dropped = Sample(page, "t740_alerter_alerts_dropped_total", "");
  counts.failed = Sample(page, "t740_alerter_alerts_failed_total", "");
  counts.queue = Sample(page, "t740_alerter_queue_length", "");
  counts.probes = Sample(page, "t740_alerter_probes_total", "");
  counts.probeFailures = Sample(page, "t740_alerter_probes_total", "outcome=\"failure\"");
  counts.notifications = Sample(page, "t740_alerter_notifications_total", "");
  return counts;
}

// The ports Alertmanager lists a T740LossOfSignal alert for, as the
// change log names them: "AGENT/CARD/PORT".
std::set<std::string> AlertedPorts(const std::string& body) {
  std::set<std::string> ports;
  const auto value = [](const std::string& labels, const std::string& name) {
    const std::string quoted = "\"" + name + "\":\"";
    const size_t at = labels.find(quoted);
    if (at == std::string::npos) return std::string();
    const size_t start = at + quoted.size();
    return labels.substr(start, labels.find('"', start) - start);
  };
  for (size_t at = body.find("\"labels\":{"); at != std::string::npos;
       at = body.find("\"labels\":{", at + 1)) {
    const std::string labels = body.substr(at, body.find('}', at) - at);
    const std::string instance = value(labels, "instance");
    ports.insert(instance.substr(0, instance.find(':')) + "/" + value(labels, "card") + "/" +
                 value(labels, "port"));
  }
  return ports;
}

double ResidentMb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
  }
  return 0;
}

void SleepUntil(Clock::time_point start, double seconds) {
  std::this_thread::sleep_until(start +
                                std::chrono::milliseconds(static_cast<long>(seconds * 1000)));
}

// ---- The run ----

// Alertmanager on 127.0.0.1, its own data directory, no cluster, every
// alert routed to a receiver that sends nothing.
class Alertmanager {
 public:
  explicit Alertmanager(const ScratchDirectory& scratch)
      : port_(FreePort(SOCK_STREAM)),
        config_(scratch.Write("alertmanager.yml",
                              "route:\n  receiver: none\nreceivers:\n  - name: none\n")),
        storage_(scratch.Path() + "/alertmanager") {
    Start();
  }
  void Start() {
    process_ = std::make_unique<LoggedProcess>(
        kBenchmark,
        std::vector<std::string>{
            "prometheus-alertmanager", "--config.file=" + config_, "--storage.path=" + storage_,
            "--web.listen-address=127.0.0.1:" + std::to_string(port_), "--cluster.listen-address="},
        "Listening on");
  }
  void Stop() { process_.reset(); }
  uint16_t Port() const { return port_; }

 private:
  uint16_t port_;
  std::string config_;
  std::string storage_;
  std::unique_ptr<LoggedProcess> process_;
};

struct Percentiles {
  double p50 = 0;
  double p99 = 0;
  double max = 0;
};

Percentiles PercentilesOf(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const auto at = [&](double share) {
    return values[std::min(values.size() - 1, static_cast<size_t>(share * values.size()))];
  };
  return {at(0.50), at(0.99), values.back()};
}

// Phase 1: each fault from its notification's arrival to its alert in
// Alertmanager's list.
void MeasureLatency(const Settings& settings, Clock::time_point simStart, const ChangeLog& changes,
                    uint16_t alertmanagerPort) {
  HttpConnection alertmanager(alertmanagerPort);
  std::map<std::string, Clock::time_point> listed;
  const std::vector<LatencyFault> faults = LatencyFaults(settings.latencyFaults);
  const double end = kLatencyStart + settings.latencyFaults * kLatencySpacing + 3;
  SleepUntil(simStart, kLatencyStart - 0.5);
  const Clock::time_point phaseStart = Clock::now();
  while (Clock::now() < simStart + std::chrono::milliseconds(static_cast<long>(end * 1000))) {
    const Clock::time_point asked = Clock::now();
    const std::string body = alertmanager.Get(kLossAlerts).body;
    const Clock::time_point seen = Clock::now();
    for (const std::string& port : AlertedPorts(body)) listed.emplace(port, seen);
    std::this_thread::sleep_until(asked + kAlertsPoll);
  }
  std::map<std::string, Clock::time_point> raised;
  for (const Change& change : changes.Since(phaseStart)) {
    if (change.alarm == "STM-LOS" && change.raised) raised.emplace(change.key, change.at);
  }
  std::vector<double> latencies;
  int missing = 0;
  for (const LatencyFault& fault : faults) {
    const auto raise = raised.find(fault.Key());
    if (raise == raised.end()) continue;  // the port had lost its signal before
    const auto alert = listed.find(fault.Key());
    if (alert == listed.end() || alert->second < raise->second) {
      ++missing;
      continue;
    }
    latencies.push_back(Seconds(alert->second - raise->second));
  }
  const Percentiles measured = PercentilesOf(latencies);
  const double typical = kScrapeSeconds / 2 + kForSeconds + kEvaluationSeconds;
  std::printf(
      "\n1. Latency: %zu fibre pulls (of %d scheduled; the rest had no signal already), "
      "notification to alert listed by GET %s every %lld ms\n",
      latencies.size(), settings.latencyFaults, kLossAlerts,
      static_cast<long long>(kAlertsPoll.count()));
  std::printf("   %-44s %10s %10s %10s\n", "", "p50", "p99", "max");
  std::printf("   %-44s %8.0f ms %7.0f ms %7.0f ms   goal p99 < %.0f ms\n",
              "t740-alerter (notification -> Alertmanager)", measured.p50 * 1000,
              measured.p99 * 1000, measured.max * 1000, kLatencyGoalSeconds * 1000);
  std::printf("   %-44s %9.1f s (typical), %.0f s best, %.0f s worst\n",
              "polling road (scrape/2 + for + evaluation)", typical, kForSeconds,
              kScrapeSeconds + kForSeconds + kEvaluationSeconds);
  if (missing > 0) std::printf("   %d faults never listed\n", missing);
}

struct StormPhase {
  std::vector<Change> changes;
  AlerterCounts before;
  AlerterCounts after;
  Clock::time_point taken;   // the alerter had accepted every notification
  Clock::time_point posted;  // and Alertmanager had taken every alert
  bool quiet = false;
};

// Polls the alerter's counters until they stand still for a second after
// `until`, or the deadline.
StormPhase FollowStorms(HttpConnection& alerter, const ChangeLog& changes,
                        Clock::time_point phaseStart, Clock::time_point lastStorm,
                        Clock::time_point deadline, const AlerterCounts& before) {
  StormPhase phase;
  phase.before = before;
  AlerterCounts last = before;
  Clock::time_point stillSince = Clock::now();
  while (Clock::now() < deadline) {
    const AlerterCounts now = ReadCounts(alerter);
    if (now.accepted != last.accepted) phase.taken = now.at;
    if (now.sent != last.sent) phase.posted = now.at;
    if (now.accepted != last.accepted || now.sent != last.sent) stillSince = now.at;
    last = now;
    if (now.at > lastStorm && now.at - stillSince > kQuietFor && now.queue == 0) {
      phase.quiet = true;
      break;
    }
    std::this_thread::sleep_for(kMetricsPoll);
  }
  phase.after = last;
  phase.changes = changes.Since(phaseStart);
  return phase;
}

void ReportStorms(const Settings& settings, const StormPhase& phase, const ChangeLog& changes,
                  uint16_t alertmanagerPort) {
  const double sent = static_cast<double>(phase.changes.size());
  const double accepted = phase.after.accepted - phase.before.accepted;
  const double posted = phase.after.sent - phase.before.sent;
  const Clock::time_point first = phase.changes.empty() ? phase.after.at : phase.changes[0].at;
  const Clock::time_point lastSent = phase.changes.empty() ? first : phase.changes.back().at;
  HttpConnection alertmanager(alertmanagerPort);
  const std::set<std::string> alerted = AlertedPorts(alertmanager.Get(kLossAlerts).body);
  const std::set<std::string> lost = changes.LossOfSignal();
  std::printf(
      "\n2. Throughput: %d storms 1 s apart, every port of the 1000 cards pulled, then "
      "restored, ...\n",
      settings.storms);
  std::printf("   notifications the cards sent            %8.0f   (%.0f a second over %.2f s)\n",
              sent, sent / std::max(1e-3, Seconds(lastSent - first)), Seconds(lastSent - first));
  std::printf(
      "   notifications the alerter accepted      %8.0f   goal: all (%.0f with any outcome)\n",
      accepted, phase.after.notifications - phase.before.notifications);
  std::printf("   UDP datagrams lost to full buffers      %8.0f   (the host's RcvbufErrors)\n",
              phase.after.rcvbufErrors - phase.before.rcvbufErrors);
  std::printf("   taken in a second, sustained            %8.0f   goal >= %.0f\n",
              accepted / std::max(1e-3, Seconds(phase.taken - first)), kThroughputGoal);
  std::printf("   alerts posted (raises and clears)       %8.0f   goal: one per notification\n",
              posted);
  std::printf("   alerts posted a second                  %8.0f\n",
              posted / std::max(1e-3, Seconds(phase.posted - first)));
  std::printf("   last alert taken, after the last storm  %8.2f s\n",
              Seconds(phase.posted - lastSent));
  std::printf("   probes (failed)                         %8.0f (%.0f)\n",
              phase.after.probes - phase.before.probes,
              phase.after.probeFailures - phase.before.probeFailures);
  std::printf("   alerts dropped / posts failed           %8.0f / %.0f   goal: 0\n",
              phase.after.dropped - phase.before.dropped, phase.after.failed - phase.before.failed);
  std::printf("   T740LossOfSignal in Alertmanager        %8zu   the cards report %zu lost; %s\n",
              alerted.size(), lost.size(), alerted == lost ? "the same ports" : "DIFFERENT ports");
  if (!phase.quiet) std::printf("   (the alerter had not gone quiet before the next phase)\n");
}

// Phase 3: Alertmanager away while the storms go on, then back.
void MeasureOutage(const Settings& settings, const Schedule& schedule, Clock::time_point simStart,
                   Alertmanager& alertmanagerProcess, HttpConnection& alerter, pid_t alerterPid,
                   const ChangeLog& changes, double residentStart, double residentAfterStorms) {
  SleepUntil(simStart, schedule.outageStart - kOutageLead);
  const AlerterCounts before = ReadCounts(alerter);
  alertmanagerProcess.Stop();
  double residentPeak = 0;
  double queuePeak = 0;
  const Clock::time_point back =
      simStart + std::chrono::milliseconds(static_cast<long>(schedule.outageEnd * 1000));
  while (Clock::now() < back) {
    const AlerterCounts now = ReadCounts(alerter);
    queuePeak = std::max(queuePeak, now.queue);
    residentPeak = std::max(residentPeak, ResidentMb(alerterPid));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const AlerterCounts down = ReadCounts(alerter);
  alertmanagerProcess.Start();
  const Clock::time_point restarted = Clock::now();
  AlerterCounts drained = down;
  while (Clock::now() - restarted < kDrainPatience) {
    drained = ReadCounts(alerter);
    if (drained.queue == 0 && drained.sent > down.sent) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const double drainSeconds = Seconds(Clock::now() - restarted);
  std::this_thread::sleep_for(kQuietFor);
  const double residentDrained = ResidentMb(alerterPid);
  HttpConnection alertmanager(alertmanagerProcess.Port());
  const std::set<std::string> alerted = AlertedPorts(alertmanager.Get(kLossAlerts).body);
  const std::set<std::string> lost = changes.LossOfSignal();
  std::printf("\n3. Memory: Alertmanager stopped %.0f s, %d storms meanwhile\n",
              schedule.outageEnd - schedule.outageStart + kOutageLead, settings.outageStorms);
  std::printf("   alerter resident memory at start         %6.1f MB\n", residentStart);
  std::printf("   after the storms                         %6.1f MB\n", residentAfterStorms);
  std::printf("   Alertmanager away, peak                  %6.1f MB\n", residentPeak);
  std::printf("   Alertmanager back, queue drained         %6.1f MB\n", residentDrained);
  std::printf("   queue length, peak                       %6.0f    goal <= %.0f\n", queuePeak,
              kQueueCapacity);
  std::printf("   alerts dropped from the full queue       %6.0f\n", down.dropped - before.dropped);
  std::printf("   queue drained after Alertmanager's start %6.2f s (%.0f alerts posted)\n",
              drainSeconds, drained.sent - down.sent);
  std::printf("   T740LossOfSignal in Alertmanager after   %6zu    the cards report %zu lost; %s\n",
              alerted.size(), lost.size(), alerted == lost ? "the same ports" : "DIFFERENT ports");
}

// The alerter's first warnings and errors, to say why alerts failed.
void PrintWarnings(const std::string& log) {
  constexpr int kShown = 5;
  int shown = 0;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line) && shown < kShown;) {
    if (line.find("level=warn") == std::string::npos &&
        line.find("level=error") == std::string::npos) {
      continue;
    }
    if (shown++ == 0) std::printf("\nthe alerter's first warnings:\n");
    std::printf("   %s\n", line.substr(0, 300).c_str());
  }
}

std::string PortAfter(const std::string& text) {
  return text.substr(0, text.find_first_of(" \n"));
}

void WaitForStartProbes(HttpConnection& alerter, Clock::time_point simStart) {
  for (;;) {
    const AlerterCounts counts = ReadCounts(alerter);
    if (counts.probes >= kAgents * kCardsPerAgent) return;
    if (Clock::now() >
        simStart + std::chrono::milliseconds(static_cast<long>(kLatencyStart * 1000 - 500))) {
      Fail("the alerter had not probed every card before the first fault");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = Parse(argc, argv);
  const Schedule schedule = ScheduleFor(settings);
  signal(SIGPIPE, SIG_IGN);
  ScratchDirectory scratch;
  const std::string eventsText = EventsText(settings, schedule);
  const std::string events = scratch.Write("events", eventsText);
  const std::string targets = scratch.Path() + "/targets.json";
  Alertmanager alertmanager(scratch);
  ChangeLog changes;
  const uint16_t alerterSnmp = FreePort(SOCK_DGRAM);
  const std::string localhost = "127.0.0.1:";
  const t740::bench::SimProcess sim(
      kBenchmark, {"--agents", std::to_string(kAgents), "--cards", "0101-0200", "--events", events,
                   "--targets-file", targets, "--notify", localhost + std::to_string(alerterSnmp),
                   "--notify", localhost + std::to_string(changes.Port())});
  const Clock::time_point simStart = Clock::now();
  const LoggedProcess alerterProcess(
      kBenchmark,
      {T740_ALERTER, "--alertmanager.url",
       "http://127.0.0.1:" + std::to_string(alertmanager.Port()), "--targets.file", targets,
       "--snmp.listen-address", localhost + std::to_string(alerterSnmp), "--web.listen-address",
       "127.0.0.1:0", "--round.interval", "1h", "--storage.path", scratch.Path() + "/alerter",
       "--plugin", T740_PLUGIN},
      "msg=listening address=127.0.0.1:");
  HttpConnection alerter(
      static_cast<uint16_t>(std::atoi(PortAfter(alerterProcess.AfterMarker()).c_str())));
  WaitForStartProbes(alerter, simStart);
  const double residentStart = ResidentMb(alerterProcess.Pid());
  std::printf(
      "alerter_storm: t740-sim --agents %d --cards 0101-0200 (%d cards), t740-alerter, "
      "prometheus-alertmanager; %zu events scheduled\n",
      kAgents, kAgents * kCardsPerAgent,
      static_cast<size_t>(std::count(eventsText.begin(), eventsText.end(), '\n')));

  MeasureLatency(settings, simStart, changes, alertmanager.Port());

  SleepUntil(simStart, schedule.stormsStart - 0.5);
  const Clock::time_point phaseStart = Clock::now();
  const AlerterCounts before = ReadCounts(alerter);
  const auto at = [&](double seconds) {
    return simStart + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
  };
  const StormPhase storms =
      FollowStorms(alerter, changes, phaseStart,
                   at(schedule.stormsStart + (settings.storms - 1) * kStormSpacing),
                   at(schedule.outageStart - kOutageLead - 0.5), before);
  ReportStorms(settings, storms, changes, alertmanager.Port());
  if (storms.after.failed > storms.before.failed) PrintWarnings(alerterProcess.Log());
  const double residentAfterStorms = ResidentMb(alerterProcess.Pid());

  MeasureOutage(settings, schedule, simStart, alertmanager, alerter, alerterProcess.Pid(), changes,
                residentStart, residentAfterStorms);
  return 0;
}
