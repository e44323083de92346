// What each port receives and which section alarms it raises, derived from
// the card's settings and the line around it.
//
// LLP (local loopback) turns the port's own send signal back into its
// receiver inside the card, so the port receives its own bytes whatever the
// fibre does. RLP (remote loopback) returns the received line signal to the
// far end; the port itself still receives the far end.
#ifndef T740_SIM_LINE_SIDE_H
#define T740_SIM_LINE_SIDE_H

#include <cstdint>

#include "sim/card_state.h"

namespace t740::sim {

struct PortAlarms {
  bool traceMismatch = false;  // RS-TIM
  bool lossOfSignal = false;   // STM-LOS
  bool lossOfFrame = false;    // STM-LOF
  bool outOfFrame = false;     // RS-OOF
};

bool LocalLoopback(uint8_t loopback, int port);
bool RemoteLoopback(uint8_t loopback, int port);

bool SignalPresent(const CardState& state, int port);
// A port without signal receives all zeros.
SectionBytes ReceivedSection(const CardState& state, int port);
PathBytes ReceivedPath(const CardState& state, int port, int vc4);
// A lower-layer defect hides the ones above it: no frame or trace alarm
// without signal, no trace alarm without frame.
PortAlarms AlarmsOf(const CardState& state, int port);

}  // namespace t740::sim

#endif
