#include "sim/line_side.h"

#include "sim/trace.h"

namespace t740::sim {
namespace {

// Loopback byte: LLP D..A in bits 7..4, RLP D..A in bits 3..0.
constexpr int kLocalLoopbackBit = 4;

uint8_t PortBit(int port) {
  return static_cast<uint8_t>(1u << port);
}

SectionBytes SilentSection() {
  return {std::string(kTraceHexLength, '0'), "00", "00", "00"};
}

PathBytes SilentPath() {
  return {std::string(kTraceHexLength, '0'), "00"};
}

}  // namespace

bool LocalLoopback(uint8_t loopback, int port) {
  return (loopback >> kLocalLoopbackBit & PortBit(port)) != 0;
}

bool RemoteLoopback(uint8_t loopback, int port) {
  return (loopback & PortBit(port)) != 0;
}

bool SignalPresent(const CardState& state, int port) {
  return LocalLoopback(state.loopback, port) || state.ports[port].line.fibreConnected;
}

SectionBytes ReceivedSection(const CardState& state, int port) {
  const PortState& own = state.ports[port];
  if (LocalLoopback(state.loopback, port)) return own.section.send;
  if (!own.line.fibreConnected) return SilentSection();
  return own.farEndSection;
}

PathBytes ReceivedPath(const CardState& state, int port, int vc4) {
  const PortState& own = state.ports[port];
  if (LocalLoopback(state.loopback, port)) return own.paths[vc4].send;
  if (!own.line.fibreConnected) return SilentPath();
  return own.farEndPaths[vc4];
}

PortAlarms AlarmsOf(const CardState& state, int port) {
  PortAlarms alarms;
  // The loop inside the card has neither fibre nor framing to lose.
  if (!LocalLoopback(state.loopback, port)) {
    const LineConditions& line = state.ports[port].line;
    alarms.lossOfSignal = !line.fibreConnected;
    alarms.lossOfFrame = !alarms.lossOfSignal && line.lossOfFrame;
    alarms.outOfFrame = !alarms.lossOfSignal && (line.outOfFrame || line.lossOfFrame);
  }
  if (!alarms.lossOfSignal && !alarms.lossOfFrame) {
    alarms.traceMismatch = ReceivedSection(state, port).j0 != state.ports[port].section.expectedJ0;
  }
  return alarms;
}

}  // namespace t740::sim
