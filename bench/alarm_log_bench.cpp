// The kept alarm log (alerter/history) on this machine's disk:
//
//  1. keeping up: 16 threads, as the alerter's probes, each recording 1 to 3
//     changes a call and waiting for their commit; changes kept a second
//     and each call's wait, beside the goal of 2 000 changes a second;
//  2. searching: a log of a million changes (50 agents x 20 cards x 4
//     ports x 4 alarms over 90 days), the page's filters timed, first page
//     and a deep one, beside the goal of 100 ms.
//
//   alarm_log_bench [--directory DIR] [--changes N] [--seconds N]
//
// DIR (default a new one under /tmp, removed at the end) holds the log;
// --changes is the searched log's size (1000000), --seconds the storm's
// length (5).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "alerter/history/alarm_log.h"
#include "alerter/history/log_query.h"

namespace {

using t740::alerter::AlarmLog;
using t740::alerter::LogEntry;
using t740::alerter::LogQuery;
using Steady = std::chrono::steady_clock;
using System = std::chrono::system_clock;

constexpr double kChangesGoal = 2000;
constexpr double kSearchGoalMs = 100;
constexpr int kThreads = 16;
constexpr int kAgents = 50;
constexpr int kCards = 20;
constexpr const char* kPorts[] = {"A", "B", "C", "D"};
constexpr const char* kAlarms[] = {"RS-TIM", "STM-LOS", "STM-LOF", "RS-OOF"};
constexpr auto kSpan = std::chrono::hours(24 * 89);
constexpr int kFillBatch = 10000;
constexpr int kSearchRuns = 15;

struct Settings {
  std::string directory;
  long changes = 1000000;
  int seconds = 5;
};

std::string Agent(long n) {
  return "127.0.0." + std::to_string(2 + n % kAgents) + ":16100";
}
std::string Card(long n) {
  return std::to_string(101 + (n / kAgents) % kCards).insert(0, "0");
}

// The n-th of `total` changes, spread over the span, oldest first.
LogEntry Change(long n, long total, System::time_point start) {
  LogEntry entry;
  entry.kind = n % 2 ? t740::alerter::LogKind::Cleared : t740::alerter::LogKind::Raised;
  entry.instance = Agent(n);
  entry.card = Card(n);
  entry.port = kPorts[(n / (kAgents * kCards)) % 4];
  entry.alarm = kAlarms[(n / (kAgents * kCards * 4)) % 4];
  entry.severity = "critical";
  entry.cardTime = start + kSpan * n / total;
  entry.learnt = entry.cardTime + std::chrono::milliseconds(40);
  entry.road = t740::alerter::LogRoad::Notification;
  return entry;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void KeepingUp(const Settings& settings) {
  const auto log = AlarmLog::Open(settings.directory + "/storm", {});
  std::atomic<long> kept{0};
  std::vector<std::vector<double>> waits(kThreads);
  const Steady::time_point end = Steady::now() + std::chrono::seconds(settings.seconds);
  const Steady::time_point start = Steady::now();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (long i = 0; Steady::now() < end; ++i) {
        std::vector<LogEntry> entries;
        for (long k = 0; k <= (i + t) % 3; ++k)
          entries.push_back(Change(i * kThreads + t, 1, System::now()));
        const Steady::time_point asked = Steady::now();
        if (!log->Record(entries)) std::abort();
        waits[t].push_back(
            std::chrono::duration<double, std::milli>(Steady::now() - asked).count());
        kept += static_cast<long>(entries.size());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
  std::vector<double> all;
  for (const auto& thread : waits) all.insert(all.end(), thread.begin(), thread.end());
  std::printf("1. keeping up: %d threads recording 1-3 changes a call for %.1f s\n", kThreads,
              seconds);
  std::printf("   changes kept a second                 %9.0f      goal >= %.0f\n",
              static_cast<double>(kept) / seconds, kChangesGoal);
  std::printf("   calls a second                        %9.0f\n",
              static_cast<double>(all.size()) / seconds);
  std::printf("   a call's wait for its commit, p50/p99 %6.2f / %.2f ms\n", Percentile(all, 0.5),
              Percentile(all, 0.99));
}

void Fill(AlarmLog& log, long total, System::time_point start) {
  for (long n = 0; n < total; n += kFillBatch) {
    std::vector<LogEntry> batch;
    for (long k = n; k < std::min(total, n + kFillBatch); ++k)
      batch.push_back(Change(k, total, start));
    if (!log.Record(batch)) std::abort();
  }
}

struct Search {
  const char* name;
  LogQuery query;
};

// The slowest and the median of the runs, in milliseconds, and the rows.
void TimeSearch(const AlarmLog& log, const Search& search) {
  std::vector<double> times;
  size_t rows = 0;
  for (int run = 0; run < kSearchRuns; ++run) {
    const Steady::time_point asked = Steady::now();
    rows = log.Query(search.query).size();
    times.push_back(std::chrono::duration<double, std::milli>(Steady::now() - asked).count());
  }
  std::printf("   %-40s %4zu rows %8.2f ms %8.2f ms   goal < %.0f ms\n", search.name, rows,
              Percentile(times, 0.5), Percentile(times, 1.0), kSearchGoalMs);
}

// The deep pages: before an id among the oldest tenth of the log, or, for
// the day's search, the oldest tenth of that day.
std::vector<Search> Searches(long total, System::time_point start) {
  const int64_t deep = total / 10;
  const int64_t day = total / (kSpan / std::chrono::hours(24));
  LogQuery everything;
  LogQuery byCard;
  byCard.card = "0107";
  LogQuery byAgent;
  byAgent.instance = Agent(17);
  LogQuery byAlarm;
  byAlarm.alarm = "STM-LOS";
  byAlarm.from = start + kSpan / 2;
  byAlarm.to = *byAlarm.from + std::chrono::hours(24);
  LogQuery alarmOnly;
  alarmOnly.alarm = "RS-OOF";
  LogQuery cardEarly = byCard;
  cardEarly.from = start + std::chrono::hours(24);
  cardEarly.to = *cardEarly.from + std::chrono::hours(24);
  std::vector<Search> searches = {
      {"by card in an early day", cardEarly}, {"by alarm, first page", alarmOnly},
      {"all, first page", everything},        {"by card, first page", byCard},
      {"by agent, first page", byAgent},      {"by alarm in a day, first page", byAlarm}};
  everything.before = byCard.before = byAgent.before = deep;
  byAlarm.before = total / 2 + day / 10;
  searches.push_back({"all, deep page", everything});
  searches.push_back({"by card, deep page", byCard});
  searches.push_back({"by agent, deep page", byAgent});
  searches.push_back({"by alarm in a day, deep page", byAlarm});
  return searches;
}

void Searching(const Settings& settings) {
  const System::time_point start = System::now() - kSpan;
  const std::string directory = settings.directory + "/search";
  const Steady::time_point filling = Steady::now();
  {
    const auto log = AlarmLog::Open(directory, {});
    Fill(*log, settings.changes, start);
  }
  const double fillSeconds = std::chrono::duration<double>(Steady::now() - filling).count();
  const auto log = AlarmLog::Open(directory, {});
  std::printf("\n2. searching a log of %ld changes (filled in %.1f s, %.0f MB)\n", settings.changes,
              fillSeconds,
              static_cast<double>(std::filesystem::file_size(log->Path())) / (1 << 20));
  std::printf("   %-40s %9s %11s %11s\n", "filter", "", "median", "slowest");
  for (const Search& search : Searches(settings.changes, start)) TimeSearch(*log, search);
}

Settings Parse(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--directory") {
      settings.directory = argv[i + 1];
    } else if (name == "--changes") {
      settings.changes = std::max(10000L, std::atol(argv[i + 1]));
    } else if (name == "--seconds") {
      settings.seconds = std::clamp(std::atoi(argv[i + 1]), 1, 600);
    } else {
      std::fprintf(stderr,
                   "usage: alarm_log_bench [--directory DIR] [--changes N] [--seconds N]\n");
      std::exit(2);
    }
  }
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings = Parse(argc, argv);
  const bool temporary = settings.directory.empty();
  if (temporary) {
    char pattern[] = "/tmp/t740-alarm-log-bench-XXXXXX";
    settings.directory = mkdtemp(pattern);
  }
  KeepingUp(settings);
  Searching(settings);
  if (temporary) std::filesystem::remove_all(settings.directory);
  return 0;
}
