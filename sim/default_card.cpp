#include "sim/default_card.h"

#include <string>

#include "sim/trace.h"

namespace t740::sim {
namespace {

constexpr const char* kPortLetters[kPortCount] = {"A", "B", "C", "D"};

struct PortSetup {
  const char* expectedTrace;  // what the port expects to receive
  const char* farEndTrace;    // what its far end actually sends
  bool fibreConnected;
  int nearEndErrorsPerHour;
  int farEndErrorsPerHour;
};

constexpr PortSetup kPorts[kPortCount] = {
    {"BJ-ADM1-0301-A", "BJ-ADM1-0301-A", true, 600, 240},
    {"BJ-ADM1-0302-B", "BJ-ADM1-0302-B", false, 0, 0},
    {"BJ-ADM2-0105-C", "SH-ADM7-0204-C", true, 120, 0},
    {"BJ-T740-0107-D", "BJ-ADM2-0106-D", true, 0, 0},
};

// LLP on D, RLP on C.
constexpr uint8_t kDefaultLoopback = 0x84;

// Per counter: 15-minute and 24-hour threshold.
struct CounterThreshold {
  uint16_t quarterHour;
  uint16_t day;
};
constexpr CounterThreshold kEB = {1200, 10000};
constexpr CounterThreshold kBBE = {800, 7200};
constexpr CounterThreshold kES = {60, 500};
constexpr CounterThreshold kSES = {15, 100};
constexpr CounterThreshold kUAS = {10, 60};
constexpr CounterThreshold kPJ = {300, 2800};

constexpr CounterThreshold kSectionCounters[] = {kEB, kBBE, kES, kSES, kUAS};
constexpr CounterThreshold kPathCounters[] = {kEB, kBBE, kES, kSES, kUAS, kPJ, kPJ};

template <size_t N>
void AppendLayer(std::array<uint16_t, kThresholdCount>& values, size_t& next,
                 const CounterThreshold (&counters)[N]) {
  for (const CounterThreshold& counter : counters) values[next++] = counter.quarterHour;
  for (const CounterThreshold& counter : counters) values[next++] = counter.day;
}

// Both ports of the pair: regenerator, multiplex, far-end multiplex
// section, higher-order path (with pointer justifications), far-end path.
std::array<uint16_t, kThresholdCount> DefaultThresholds() {
  std::array<uint16_t, kThresholdCount> values{};
  size_t next = 0;
  for (int port = 0; port < 2; ++port) {
    AppendLayer(values, next, kSectionCounters);
    AppendLayer(values, next, kSectionCounters);
    AppendLayer(values, next, kSectionCounters);
    AppendLayer(values, next, kPathCounters);
    AppendLayer(values, next, kSectionCounters);
  }
  return values;
}

std::string OwnTrace(int port) {
  return TraceHex(std::string("BJ-T740-0107-") + kPortLetters[port]);
}

std::string PathTrace(const char* node, int port, int vc4) {
  return TraceHex(std::string(node) + "-" + kPortLetters[port] + "-VC4-" + std::to_string(vc4 + 1));
}

PathSettings DefaultPath(int port, int vc4) {
  PathSettings path;
  path.expectedJ1 = PathTrace("ADM1", port, vc4);
  path.expectedC2 = "02";  // TUG structure
  path.send = {PathTrace("T740", port, vc4), "02"};
  path.sendK3 = "00";
  path.sendG1 = "00";
  path.sendN1 = "00";
  return path;
}

PortState DefaultPort(int port) {
  const PortSetup& setup = kPorts[port];
  PortState state;
  state.section.expectedJ0 = TraceHex(setup.expectedTrace);
  state.section.send = {OwnTrace(port), "00", "00", "0B"};
  state.section.sendZ0 = "55";
  state.farEndSection = {TraceHex(setup.farEndTrace), "00", "00", "02"};
  state.line.fibreConnected = setup.fibreConnected;
  state.line.nearEndErrorsPerHour = setup.nearEndErrorsPerHour;
  state.line.farEndErrorsPerHour = setup.farEndErrorsPerHour;
  for (int vc4 = 0; vc4 < kVc4Count; ++vc4) {
    state.paths[vc4] = DefaultPath(port, vc4);
    state.farEndPaths[vc4] = {state.paths[vc4].expectedJ1, "02"};
  }
  return state;
}

}  // namespace

CardState DefaultCardState() {
  CardState state;
  state.versionDigits = "2110";
  state.loopback = kDefaultLoopback;
  for (int port = 0; port < kPortCount; ++port) state.ports[port] = DefaultPort(port);
  state.ports[0].farEndPaths[2].j1 = PathTrace("ADM3", 0, 2);
  state.thresholds = DefaultThresholds();
  return state;
}

CardIdentity DefaultIdentity() {
  return {kDefaultIp, kDefaultCardAddress};
}

}  // namespace t740::sim
