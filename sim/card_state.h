// What the card holds: its versions, loopback byte, the overhead it sends
// and expects per port and channel, its thresholds, and the line around it
// (what each far end sends, whether the fibre is in).
#ifndef T740_SIM_CARD_STATE_H
#define T740_SIM_CARD_STATE_H

#include <array>
#include <cstdint>
#include <string>

namespace t740::sim {

constexpr int kPortCount = 4;  // A to D
constexpr int kVc4Count = 4;
constexpr int kThresholdCount = 108;

// Section overhead bytes as they travel on one direction of the line; all
// hex texts (J0 32 digits, the bytes 2).
struct SectionBytes {
  std::string j0;
  std::string k1;
  std::string k2;
  std::string s1;
};

struct SectionSettings {
  std::string expectedJ0;
  SectionBytes send;
  std::string sendZ0;
};

struct PathBytes {
  std::string j1;
  std::string c2;
};

struct PathSettings {
  std::string expectedJ1;
  std::string expectedC2;
  PathBytes send;
  std::string sendK3;
  std::string sendG1;
  std::string sendN1;
};

// Conditions of the line that the card cannot set itself.
struct LineConditions {
  bool fibreConnected = true;
  bool lossOfFrame = false;
  bool outOfFrame = false;
  int nearEndErrorsPerHour = 0;  // average errored blocks per hour
  int farEndErrorsPerHour = 0;   // what the far end reports back
  bool erroredBurst = false;     // every second carries errored blocks
};

struct PortState {
  SectionSettings section;
  std::array<PathSettings, kVc4Count> paths;
  LineConditions line;
  SectionBytes farEndSection;
  std::array<PathBytes, kVc4Count> farEndPaths;
};

struct Channel {
  int port = 0;
  int vc4 = 0;
};

struct CardState {
  std::string versionDigits = "2110";  // software major, minor, hardware major, minor
  uint8_t loopback = 0;
  std::array<PortState, kPortCount> ports;
  std::array<uint16_t, kThresholdCount> thresholds{};
  Channel selectedChannel;  // the channel that a path overhead read reports
};

}  // namespace t740::sim

#endif
