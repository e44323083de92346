// The status exports as a host calls them, beside the baseline
// transcription, with the heap allocations each call makes.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "allocation_counter.h"
#include "baseline_decoders.h"
#include "t740/abi.h"

namespace {

std::string AlarmStatus() {
  std::string status =
      "000000"
      "24032000";
  while (status.size() < 62) status += "0";
  return status;
}

std::string LedStatus() {
  return "000000A5A5A5A5" + std::string(134, '0');
}

std::string PerformanceData() {
  std::string data;
  for (int f = 0; f < 5; ++f) {
    std::string field;
    for (int i = 0; field.size() < 906; ++i) field += "0123456789ABCDEF"[(i * 7 + f) % 16];
    if (f == 0) field.replace(6, 2, "12");
    if (f == 4) field.replace(8, 2, "03");
    data += field + ",";
  }
  return data;
}

void CountAllocations(benchmark::State& state, long before) {
  state.counters["allocs/call"] = benchmark::Counter(
      static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations()));
}

void BM_GetWarning(benchmark::State& state) {
  const CText status(AlarmStatus());
  int16_t level = 0;
  CText text;
  const long before = AllocationCount();
  for (auto _ : state) {
    for (int type = 1; type <= 16; ++type) {
      benchmark::DoNotOptimize(GetWarning(type, status, CText(), &level, &text));
    }
  }
  CountAllocations(state, before);
}

void BM_BaselineGetWarning(benchmark::State& state) {
  const std::string status = AlarmStatus();
  int16_t level = 0;
  std::string text;
  for (auto _ : state) {
    for (int type = 1; type <= 16; ++type) {
      benchmark::DoNotOptimize(baseline::GetWarning(type, status, &level, &text));
    }
  }
}

void BM_GetLedState(benchmark::State& state) {
  const CText status(LedStatus());
  int16_t count = 0;
  CText states;
  const long before = AllocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(GetLedState(0, status, &count, &states));
  CountAllocations(state, before);
}

void BM_BaselineGetLedState(benchmark::State& state) {
  const std::string status = LedStatus();
  int16_t count = 0;
  std::string states;
  for (auto _ : state) benchmark::DoNotOptimize(baseline::GetLedState(status, &count, &states));
}

void BM_GetPerformanceData(benchmark::State& state) {
  const CText data(PerformanceData());
  const int16_t period = static_cast<int16_t>(state.range(0));
  std::array<CText, 44> texts;
  std::array<CText, 44> labels;
  const long before = AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        GetPerformanceData(0, period, 1, data, texts.data(), labels.data(), CText()));
  }
  CountAllocations(state, before);
}

void BM_BaselineGetPerformanceData(benchmark::State& state) {
  const std::string data = PerformanceData();
  const int16_t period = static_cast<int16_t>(state.range(0));
  std::array<std::string, 44> texts;
  std::array<std::string, 44> labels;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        baseline::GetPerformanceData(period, 1, data, texts.data(), labels.data()));
  }
}

}  // namespace

BENCHMARK(BM_GetWarning);
BENCHMARK(BM_BaselineGetWarning);
BENCHMARK(BM_GetLedState);
BENCHMARK(BM_BaselineGetLedState);
BENCHMARK(BM_GetPerformanceData)->Arg(15)->Arg(24);
BENCHMARK(BM_BaselineGetPerformanceData)->Arg(15)->Arg(24);
BENCHMARK_MAIN();
