// How long the operator waits in the configuration window, measured as a
// host sees it: libt740.so's exports and card object, the simulated card
// behind the request function, and the card object's real pauses (the
// start-up poll's steps, the progress animation, the 10 ms after a write).
//
//   config_latency [--openings N] [--host-delay MS]
//
// For each opening: OpenConfiguration until the window is up with every
// page loaded, then Read on each tab after the first load, then Exit until
// OpenConfiguration returns. --host-delay makes every answer of the card
// that much late, as a slow management network would.
#include <QAbstractButton>
#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ids/config_window_ids.h"
#include "sim/default_card.h"
#include "sim/fault.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "t740/abi.h"
#include "window_watch.h"

namespace {

namespace cw = t740::ids::config_window;
using Clock = std::chrono::steady_clock;
using t740::bench::ControlOf;

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Options {
  int openings = 5;
  int hostDelayMilliseconds = 0;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--openings") == 0)
      options.openings = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--host-delay") == 0) {
      options.hostDelayMilliseconds = std::max(0, std::atoi(argv[i + 1]));
    }
  }
  return options;
}

// The pauses that the card object's own schedule puts on each step, the
// floor that no implementation can go under: the start-up poll's 200 ms,
// 150 + 4 steps of 1 ms and 200 ms before it closes its dialog (its last
// 100 ms nobody waits for); the progress animation's 200 ms before and
// after its 150 bar steps; the path overhead Read's preselect write, 10 ms.
constexpr double kOpeningFloor = 200 + 150 + 4 + 200;
constexpr double kProgressFloor = 200 + 200;
constexpr double kPreselectFloor = 10;

// The tabs whose Read asks the card again, with their captions for the
// report and their floors.
struct ReadTab {
  int index;
  const char* name;
  double floor;
};
constexpr ReadTab kReadTabs[] = {{1, "loopback", kProgressFloor},
                                 {2, "section overhead", kProgressFloor},
                                 {3, "path overhead", kPreselectFloor},
                                 {4, "port users", kProgressFloor}};
constexpr size_t kReadTabCount = std::size(kReadTabs);

struct Opening {
  double loaded = 0;  // OpenConfiguration to the window shown, pages loaded
  double reads[kReadTabCount] = {};
  double closed = 0;  // Exit to OpenConfiguration's return
};

// Once the configuration window is up, drives the reads from inside its
// modal loop.
class WindowDriver : public t740::bench::WindowWatch {
 public:
  using WindowWatch::WindowWatch;

  void Arm(Opening& opening, Clock::time_point opened) {
    opening_ = &opening;
    opened_ = opened;
    shown_ = false;
  }
  Clock::time_point ExitPressed() const { return exitPressed_; }

 protected:
  void ConfigurationShown(QWidget* window) override {
    if (shown_ || !opening_) return;
    shown_ = true;
    opening_->loaded = MillisecondsBetween(opened_, Clock::now());
    QTimer::singleShot(0, window, [this, window] { ReadEveryTab(window); });
  }

 private:
  void ReadEveryTab(QWidget* window) {
    auto* tabs = ControlOf<QTabWidget>(window, cw::kTabs);
    auto* read = ControlOf<QAbstractButton>(window, cw::kRead);
    auto* exit = ControlOf<QAbstractButton>(window, cw::kExit);
    if (!tabs || !read || !exit) {
      std::fprintf(stderr, "the configuration window lacks its tab control or buttons\n");
      std::exit(1);
    }
    for (size_t i = 0; i < kReadTabCount; ++i) {
      tabs->setCurrentIndex(kReadTabs[i].index);
      const Clock::time_point start = Clock::now();
      read->click();
      opening_->reads[i] = MillisecondsBetween(start, Clock::now());
    }
    exitPressed_ = Clock::now();
    exit->click();
  }

  Opening* opening_ = nullptr;
  bool shown_ = false;
  Clock::time_point opened_;
  Clock::time_point exitPressed_;
};

struct Summary {
  double minimum;
  double median;
  double maximum;
};

Summary Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

void PrintRow(const char* what, const std::vector<double>& values, double floor) {
  const Summary summary = Summarise(values);
  std::printf("| %-46s | %8.0f | %8.0f | %8.0f | %8.0f | %8.0f |\n", what, summary.minimum,
              summary.median, summary.maximum, floor, summary.median - floor);
}

// A remark file beside the host, so that the port user page has a file to
// read (and its later reads show the progress animation as in service).
class RemarkFileBesideTheHost {
 public:
  RemarkFileBesideTheHost() {
    const std::filesystem::path host = std::filesystem::canonical("/proc/self/exe").parent_path();
    devices_ = host / "Devices";
    createdDirectory_ = std::filesystem::create_directories(devices_);
    file_ = devices_ / (std::string(t740::sim::kDefaultIp) + t740::sim::kDefaultCardAddress +
                        "t740_Remark.ini");
    std::ofstream(file_, std::ios::binary) << "line 1,line 2,,spare,;";
  }
  ~RemarkFileBesideTheHost() {
    std::filesystem::remove(file_);
    if (createdDirectory_) std::filesystem::remove(devices_);
  }

 private:
  std::filesystem::path devices_;
  std::filesystem::path file_;
  bool createdDirectory_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  // Without a display the windows still open, off screen.
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
      !std::getenv("WAYLAND_DISPLAY")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  QApplication app(argc, argv);
  WindowDriver driver(app);
  RemarkFileBesideTheHost remarks;

  t740::sim::SimulatedCard card(t740::sim::DefaultIdentity(), t740::sim::DefaultCardState(),
                                t740::sim::WallClock(), t740::sim::kDefaultUptimeSeconds);
  CCardBase* object = nullptr;
  CreateObject(0, &object);
  object->SetRequestFunction(t740::sim::BindRequestFunction(card));
  object->SetHostValue(0, 0);
  HostDeviceRecord record{};
  record.deviceType = "SDH t740";
  record.location = "bench";

  std::vector<Opening> openings(static_cast<size_t>(options.openings));
  for (Opening& opening : openings) {
    card.ClearFaults();
    if (options.hostDelayMilliseconds > 0) {
      card.InjectFault({t740::sim::FaultKind::Delay, "", -1, 0, options.hostDelayMilliseconds});
    }
    driver.Arm(opening, Clock::now());
    object->OpenConfiguration(nullptr, CText(t740::sim::kDefaultIp),
                              CText(t740::sim::kDefaultCardAddress), &record);
    opening.closed = MillisecondsBetween(driver.ExitPressed(), Clock::now());
  }
  object->Release();
  t740::sim::UnbindRequestFunction(card);

  std::printf("%d openings, host delay %d ms per request, milliseconds\n\n", options.openings,
              options.hostDelayMilliseconds);
  std::printf("| %-46s | %8s | %8s | %8s | %8s | %8s |\n", "step", "min", "median", "max", "floor",
              "overhead");
  std::printf("|%s|---------:|---------:|---------:|---------:|---------:|\n",
              std::string(48, '-').c_str());
  auto column = [&](auto field) {
    std::vector<double> values;
    for (const Opening& opening : openings) values.push_back(field(opening));
    return values;
  };
  PrintRow("OpenConfiguration to the loaded window",
           column([](const Opening& o) { return o.loaded; }), kOpeningFloor);
  PrintRow("the same, first opening in this process", {openings.front().loaded}, kOpeningFloor);
  for (size_t i = 0; i < kReadTabCount; ++i) {
    const std::string what = std::string("Read, ") + kReadTabs[i].name;
    PrintRow(what.c_str(), column([i](const Opening& o) { return o.reads[i]; }),
             kReadTabs[i].floor);
  }
  PrintRow("Exit to OpenConfiguration's return", column([](const Opening& o) { return o.closed; }),
           0);
  std::printf("\noverhead: the median over the floor%s\n",
              options.hostDelayMilliseconds > 0 ? " (the card's late answers included)" : "");
  if (driver.MessagesAnswered() > 0) {
    std::printf("\n%d message boxes were answered (none expected)\n", driver.MessagesAnswered());
    return 1;
  }
  return 0;
}
