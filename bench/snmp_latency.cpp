// The network road's cost: the start-up poll's four reads and the
// configuration window's opening, with the card in-process and with the
// card behind t740-sim on 127.0.0.1 over SNMPv2c, side by side. The
// window runs with the card object's real pauses; the poll's own pauses
// before it closes its dialog come to 0.554 s of it.
//
//   snmp_latency [--rounds N] [--openings N]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/host_request.h"
#include "host/sim_transport.h"
#include "host/snmp_transport.h"
#include "sim/default_card.h"
#include "t740/abi.h"

extern char** environ;

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

struct Options {
  int rounds = 500;
  int openings = 5;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--rounds") == 0) options.rounds = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--openings") == 0) {
      options.openings = std::max(1, std::atoi(argv[i + 1]));
    }
  }
  return options;
}

// t740-sim on a free loopback port, for the length of the run.
class Agent {
 public:
  Agent() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) Fail("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    char program[] = T740_SIM_AGENT;
    char port[] = "--port";
    char zero[] = "0";
    char* argv[] = {program, port, zero, nullptr};
    if (posix_spawn(&pid_, program, &actions, nullptr, argv, environ) != 0) Fail("t740-sim");
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    std::string line;
    char c;
    pollfd wait{ends[0], POLLIN, 0};
    while (poll(&wait, 1, 10000) > 0 && read(ends[0], &c, 1) == 1 && c != '\n') line += c;
    close(ends[0]);
    // "... listening on 127.0.0.1:PORT engine id 0x..."
    constexpr char kListening[] = "127.0.0.1:";
    const size_t at = line.find(kListening);
    if (at == std::string::npos) Fail("t740-sim did not start");
    address_ = kListening + std::to_string(std::atoi(line.c_str() + at + sizeof kListening - 1));
  }
  ~Agent() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& Address() const { return address_; }

 private:
  [[noreturn]] static void Fail(const char* what) {
    std::fprintf(stderr, "snmp_latency: %s\n", what);
    std::exit(1);
  }

  pid_t pid_ = -1;
  std::string address_;
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
// closes it; answers any message box so that nothing stalls the run.
class WindowWatcher : public QObject {
 public:
  explicit WindowWatcher(QApplication& app) { app.installEventFilter(this); }
  void Arm() {
    opened_ = Clock::now();
    loaded_ = -1;
  }
  double Loaded() const { return loaded_; }
  int Messages() const { return messages_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (auto* box = qobject_cast<QMessageBox*>(widget)) {
      ++messages_;
      QTimer::singleShot(0, box, [box] { box->done(QMessageBox::Ok); });
    } else if (widget->objectName() == QLatin1String("1000") && loaded_ < 0) {
      loaded_ = MillisecondsSince(opened_);
      QTimer::singleShot(0, widget, [widget] {
        if (auto* exit = widget->findChild<QAbstractButton*>(QStringLiteral("1010"))) exit->click();
      });
    }
    return false;
  }

 private:
  Clock::time_point opened_;
  double loaded_ = -1;
  int messages_ = 0;
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

Measured Measure(t740::host::Transport& transport, CCardBase& card, WindowWatcher& watcher,
                 const Options& options) {
  std::vector<double> polls;
  for (int i = 0; i < options.rounds; ++i) polls.push_back(PollReads(transport));
  t740::host::SetRequestTransport(&transport);
  std::vector<double> openings;
  for (int i = 0; i < options.openings; ++i) openings.push_back(OpenConfiguration(card, watcher));
  t740::host::SetRequestTransport(nullptr);
  return {Median(polls), Median(openings)};
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  WindowWatcher watcher(app);
  Agent agent;

  CCardBase* card = nullptr;
  CreateObject(0, &card);
  card->SetRequestFunction(t740::host::HostRequestFunction());

  t740::host::SimTransport local(t740::host::ParseCommandLine({}).options);
  t740::host::SnmpTransport snmp(t740::host::ParseCommandLine({"--snmp", agent.Address()}).options,
                                 std::cerr);
  const Measured inProcess = Measure(local, *card, watcher, options);
  const Measured overSnmp = Measure(snmp, *card, watcher, options);
  card->Release();

  std::printf("medians of %d polls and %d openings, milliseconds\n\n", options.rounds,
              options.openings);
  std::printf("| %-52s | %10s | %10s |\n", "", "in-process", "SNMP");
  std::printf("|%s|-----------:|-----------:|\n", std::string(54, '-').c_str());
  std::printf("| %-52s | %10.3f | %10.3f |\n", "the poll's four reads (.1 .11 .12 .51)",
              inProcess.pollReads, overSnmp.pollReads);
  std::printf("| %-52s | %10.0f | %10.0f |\n", "OpenConfiguration to the loaded window",
              inProcess.opening, overSnmp.opening);
  std::printf("| %-52s | %10.0f | %10.0f |\n", "of which the poll's own pauses",
              kPollPausesMilliseconds, kPollPausesMilliseconds);
  if (watcher.Messages() > 0) {
    std::printf("\n%d message boxes were answered (none expected)\n", watcher.Messages());
    return 1;
  }
  return 0;
}
