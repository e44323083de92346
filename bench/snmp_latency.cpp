// The network road's cost: the start-up poll's four reads and the
// configuration window's opening, with the card in-process and with the
// card behind t740-sim on 127.0.0.1 over SNMPv2c and SNMPv3 (authPriv,
// HMAC-SHA-256 and AES-128), side by side; then the opening again with a
// tenth of the requests lost on the way to the card, its median and its
// worst. The window runs with the card object's real pauses; the poll's
// own pauses before it closes its dialog come to 0.554 s of it.
//
//   snmp_latency [--rounds N] [--openings N] [--lossy-openings N]
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "host/commands/command_line.h"
#include "hosting/plugin/host_request.h"
#include "hosting/transport/sim_transport.h"
#include "hosting/transport/snmp_transport.h"
#include "ids/config_window_ids.h"
#include "sim/default_card.h"
#include "sim_process.h"
#include "t740/abi.h"
#include "window_watch.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPollGroups[] = {".1", ".11", ".12", ".51"};
constexpr char kReadPrefix[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.07";
// 200 ms, 150 + 4 steps of 1 ms and 200 ms; the last 100 ms after the
// close nobody waits for.
constexpr double kPollPausesMilliseconds = 554;

double MillisecondsSince(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Worst(const std::vector<double>& values) {
  return *std::max_element(values.begin(), values.end());
}

// The lossy link's share of lost requests, in percent.
constexpr char kLostRequests[] = "10";

struct Options {
  int rounds = 500;
  int openings = 5;
  int lossyOpenings = 5;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  struct Count {
    const char* name;
    int* value;
  };
  const Count counts[] = {{"--rounds", &options.rounds},
                          {"--openings", &options.openings},
                          {"--lossy-openings", &options.lossyOpenings}};
  for (int i = 1; i + 1 < argc; i += 2) {
    for (const Count& count : counts) {
      if (std::strcmp(argv[i], count.name) == 0) *count.value = std::max(1, std::atoi(argv[i + 1]));
    }
  }
  return options;
}

// The SNMPv3 user of the run, on both sides: the agent's users file and
// the host's pass phrases from the environment.
constexpr char kUser[] = "bench";
constexpr char kAuthPass[] = "bench-auth-pass";
constexpr char kPrivPass[] = "bench-priv-pass";

class UsersFile {
 public:
  UsersFile() {
    char pattern[] = "/tmp/snmp_latency-users-XXXXXX";
    const int descriptor = mkstemp(pattern);
    if (descriptor < 0) {
      std::fprintf(stderr, "snmp_latency: cannot make a users file\n");
      std::exit(1);
    }
    close(descriptor);
    path_ = pattern;
    std::ofstream(path_) << kUser << " authPriv SHA-256 " << kAuthPass << " AES " << kPrivPass
                         << "\n";
    setenv("T740_SNMP_AUTH_PASS", kAuthPass, 1);
    setenv("T740_SNMP_PRIV_PASS", kPrivPass, 1);
  }
  ~UsersFile() { unlink(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::vector<std::string> HostWords(const std::string& address, bool v3) {
  std::vector<std::string> words = {"--snmp", address};
  if (v3) {
    words.insert(words.end(), {"--snmp-version", "3", "--snmp-user", kUser, "--snmp-security-level",
                               "authPriv", "--snmp-auth-protocol", "SHA-256"});
  }
  return words;
}

// t740-sim on a free loopback port with `arguments`, for the length of the
// run.
class Agent {
 public:
  explicit Agent(std::vector<std::string> arguments) : sim_("snmp_latency", std::move(arguments)) {}
  std::string Address() const { return "127.0.0.1:" + std::to_string(sim_.Port()); }

 private:
  t740::bench::SimProcess sim_;
};

// The four reads of the start-up poll, as the worker makes them.
double PollReads(t740::host::Transport& transport) {
  const Clock::time_point start = Clock::now();
  for (const char* group : kPollGroups) {
    CText response;
    transport.Request(0, CText(t740::sim::kDefaultIp), CText(std::string(kReadPrefix) + group),
                      CText("1"), CText(), &response);
    if (response.empty()) {
      std::fprintf(stderr, "snmp_latency: no answer to %s\n", group);
      std::exit(1);
    }
  }
  return MillisecondsSince(start);
}

// Notes when the configuration window is up with its pages loaded, and
// closes it.
class WindowWatcher : public t740::bench::WindowWatch {
 public:
  using WindowWatch::WindowWatch;
  void Arm() {
    opened_ = Clock::now();
    loaded_ = -1;
  }
  double Loaded() const { return loaded_; }

 protected:
  void ConfigurationShown(QWidget* window) override {
    if (loaded_ >= 0) return;
    loaded_ = MillisecondsSince(opened_);
    QTimer::singleShot(0, window, [window] {
      using t740::bench::ControlOf;
      if (auto* exit = ControlOf<QAbstractButton>(window, t740::ids::config_window::kExit)) {
        exit->click();
      }
    });
  }

 private:
  Clock::time_point opened_;
  double loaded_ = -1;
};

double OpenConfiguration(CCardBase& card, WindowWatcher& watcher) {
  HostDeviceRecord record{};
  record.deviceType = "SDH t740";
  record.location = "bench";
  watcher.Arm();
  card.OpenConfiguration(nullptr, CText(t740::sim::kDefaultIp),
                         CText(t740::sim::kDefaultCardAddress), &record);
  return watcher.Loaded();
}

struct Measured {
  double pollReads;
  double opening;
};

std::vector<double> Openings(t740::host::Transport& transport, CCardBase& card,
                             WindowWatcher& watcher, int count) {
  t740::host::SetRequestTransport(&transport);
  std::vector<double> openings;
  for (int i = 0; i < count; ++i) openings.push_back(OpenConfiguration(card, watcher));
  t740::host::SetRequestTransport(nullptr);
  return openings;
}

Measured Measure(t740::host::Transport& transport, CCardBase& card, WindowWatcher& watcher,
                 const Options& options) {
  std::vector<double> polls;
  for (int i = 0; i < options.rounds; ++i) polls.push_back(PollReads(transport));
  return {Median(polls), Median(Openings(transport, card, watcher, options.openings))};
}

// The openings through a lossy link: every read that lost both its tries
// shows the page's message, which the watcher answers and counts.
struct LossyMeasured {
  double median;
  double worst;
  int waited;  // openings that waited out at least one time-out
  int messages;
};

// The host's default time-out, which a lost request costs its opening.
constexpr double kTimeOutMilliseconds = 1000;

int WaitedOut(const std::vector<double>& openings) {
  const double fastest = *std::min_element(openings.begin(), openings.end());
  return static_cast<int>(std::count_if(openings.begin(), openings.end(), [fastest](double v) {
    return v >= fastest + kTimeOutMilliseconds / 2;
  }));
}

LossyMeasured MeasureLossy(t740::host::Transport& transport, CCardBase& card,
                           WindowWatcher& watcher, const Options& options) {
  const int before = watcher.MessagesAnswered();
  const std::vector<double> openings = Openings(transport, card, watcher, options.lossyOpenings);
  return {Median(openings), Worst(openings), WaitedOut(openings),
          watcher.MessagesAnswered() - before};
}

// A row of three figures under the headings "in-process", "SNMPv2c" and
// "SNMPv3 authPriv".
void PrintRow(const char* what, int decimals, double a, double b, double c) {
  std::printf("| %-52s | %10.*f | %10.*f | %15.*f |\n", what, decimals, a, decimals, b, decimals,
              c);
}

void PrintLoopback(const Options& options, const Measured& inProcess, const Measured& v2c,
                   const Measured& v3) {
  std::printf("medians of %d polls and %d openings, milliseconds\n\n", options.rounds,
              options.openings);
  std::printf("| %-52s | %10s | %10s | %15s |\n", "", "in-process", "SNMPv2c", "SNMPv3 authPriv");
  std::printf("|%s|-----------:|-----------:|----------------:|\n", std::string(54, '-').c_str());
  PrintRow("the poll's four reads (.1 .11 .12 .51)", 3, inProcess.pollReads, v2c.pollReads,
           v3.pollReads);
  PrintRow("OpenConfiguration to the loaded window", 0, inProcess.opening, v2c.opening, v3.opening);
  PrintRow("of which the poll's own pauses", 0, kPollPausesMilliseconds, kPollPausesMilliseconds,
           kPollPausesMilliseconds);
}

void PrintLossy(const Options& options, const LossyMeasured& v2c, const LossyMeasured& v3) {
  std::printf(
      "\n%s %% of the requests lost, %d openings, time-out 1000 ms and 1 retry, "
      "milliseconds\n\n",
      kLostRequests, options.lossyOpenings);
  std::printf("| %-52s | %10s | %15s |\n", "", "SNMPv2c", "SNMPv3 authPriv");
  std::printf("|%s|-----------:|----------------:|\n", std::string(54, '-').c_str());
  std::printf("| %-52s | %10.0f | %15.0f |\n", "OpenConfiguration to the loaded window, median",
              v2c.median, v3.median);
  std::printf("| %-52s | %10.0f | %15.0f |\n", "the same, worst", v2c.worst, v3.worst);
  std::printf("| %-52s | %10d | %15d |\n", "openings that waited out a time-out", v2c.waited,
              v3.waited);
  std::printf("| %-52s | %10d | %15d |\n", "pages' messages (a read lost twice)", v2c.messages,
              v3.messages);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  WindowWatcher watcher(app);
  const UsersFile users;
  const Agent agent({"--v3-users", users.Path()});
  const Agent lossyAgent({"--v3-users", users.Path(), "--lose-requests", kLostRequests});

  CCardBase* card = nullptr;
  CreateObject(0, &card);
  card->SetRequestFunction(t740::host::HostRequestFunction());

  using t740::host::ParseCommandLine;
  using t740::host::SnmpTransport;
  t740::host::SimTransport local(ParseCommandLine({}).options);
  SnmpTransport v2c(ParseCommandLine(HostWords(agent.Address(), false)).options, std::cerr);
  SnmpTransport v3(ParseCommandLine(HostWords(agent.Address(), true)).options, std::cerr);
  const Measured inProcess = Measure(local, *card, watcher, options);
  const Measured overV2c = Measure(v2c, *card, watcher, options);
  const Measured overV3 = Measure(v3, *card, watcher, options);
  const int loopbackMessages = watcher.MessagesAnswered();

  SnmpTransport lossyV2c(ParseCommandLine(HostWords(lossyAgent.Address(), false)).options,
                         std::cerr);
  SnmpTransport lossyV3(ParseCommandLine(HostWords(lossyAgent.Address(), true)).options, std::cerr);
  const LossyMeasured lossOverV2c = MeasureLossy(lossyV2c, *card, watcher, options);
  const LossyMeasured lossOverV3 = MeasureLossy(lossyV3, *card, watcher, options);
  card->Release();

  PrintLoopback(options, inProcess, overV2c, overV3);
  PrintLossy(options, lossOverV2c, lossOverV3);
  if (loopbackMessages > 0) {
    std::printf("\n%d message boxes were answered on loopback (none expected)\n", loopbackMessages);
    return 1;
  }
  return 0;
}
