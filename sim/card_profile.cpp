#include "sim/card_profile.h"

#include <arpa/inet.h>

#include "sim/default_card.h"
#include "sim/trace.h"

namespace t740::sim {
namespace {

constexpr uint32_t kProfileModulus = 20;
constexpr char kPortLetters[] = "ABCD";

struct ProfileSlot {
  uint32_t below;  // the hash's remainder is below this
  CardProfile profile;
  std::string_view name;
};

constexpr ProfileSlot kProfiles[] = {
    {14, CardProfile::Healthy, "healthy"},
    {15, CardProfile::FibrePulled, "fibre pulled"},
    {16, CardProfile::WrongTrace, "wrong far-end trace"},
    {17, CardProfile::LineLoopback, "line loopback"},
    {18, CardProfile::InsideLoopback, "inside loopback"},
    {20, CardProfile::Errored, "errored line"},
};

// Errored blocks per hour of an errored line: near end heavy, far end less.
constexpr int kErroredNearPerHour = 40000;
constexpr int kErroredFarPerHour = 8000;
// Loopback byte: LLP in bits 7..4, RLP in bits 3..0, port A lowest.
constexpr int kInsideLoopbackShift = 4;

uint32_t Fnv1a(std::string_view text) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

// "NE3" for 127.0.0.3: the agent's host number in 127.0.0.0/8.
std::string ElementName(std::string_view agentAddress) {
  in_addr address{};
  const std::string text(agentAddress);
  if (inet_pton(AF_INET, text.c_str(), &address) != 1) return "NE";
  return "NE" + std::to_string(ntohl(address.s_addr) & 0x00FFFFFFu);
}

std::string PortTrace(const std::string& element, std::string_view card, int port) {
  return TraceHex(element + "-" + std::string(card) + "-" + kPortLetters[port]);
}

// Every port in service: the fibre in, the far end sending what the port
// expects, no errors but the pointer justifications, no loopback.
CardState HealthyState(const std::string& element, std::string_view card) {
  CardState state = DefaultCardState();
  state.loopback = 0;
  for (int port = 0; port < kPortCount; ++port) {
    PortState& own = state.ports[port];
    own.section.send.j0 = PortTrace(element, card, port);
    own.section.expectedJ0 = PortTrace("FAR" + element.substr(2), card, port);
    own.farEndSection.j0 = own.section.expectedJ0;
    own.line = LineConditions{};
    for (int vc4 = 0; vc4 < kVc4Count; ++vc4) own.farEndPaths[vc4].j1 = own.paths[vc4].expectedJ1;
  }
  return state;
}

void ApplyProfile(const CardCondition& condition, CardState& state) {
  PortState& port = state.ports[condition.port];
  switch (condition.profile) {
    case CardProfile::Healthy:
      break;
    case CardProfile::FibrePulled:
      port.line.fibreConnected = false;
      break;
    case CardProfile::WrongTrace:
      port.farEndSection.j0 = TraceHex(kWrongFarEndTrace);
      break;
    case CardProfile::LineLoopback:
      state.loopback |= static_cast<uint8_t>(1u << condition.port);
      break;
    case CardProfile::InsideLoopback:
      state.loopback |= static_cast<uint8_t>(1u << (condition.port + kInsideLoopbackShift));
      break;
    case CardProfile::Errored:
      port.line.nearEndErrorsPerHour = kErroredNearPerHour;
      port.line.farEndErrorsPerHour = kErroredFarPerHour;
      break;
  }
}

}  // namespace

CardCondition ConditionOfCard(std::string_view agentAddress, std::string_view cardAddress) {
  const uint32_t hash = Fnv1a(std::string(agentAddress) + "/" + std::string(cardAddress));
  const uint32_t slot = hash % kProfileModulus;
  CardCondition condition{CardProfile::Healthy, static_cast<int>(hash / kProfileModulus % 4)};
  for (const ProfileSlot& entry : kProfiles) {
    if (slot < entry.below) {
      condition.profile = entry.profile;
      break;
    }
  }
  return condition;
}

std::string_view ProfileName(CardProfile profile) {
  for (const ProfileSlot& entry : kProfiles) {
    if (entry.profile == profile) return entry.name;
  }
  return {};
}

CardState NetworkCardState(std::string_view agentAddress, std::string_view cardAddress) {
  CardState state = HealthyState(ElementName(agentAddress), cardAddress);
  ApplyProfile(ConditionOfCard(agentAddress, cardAddress), state);
  return state;
}

}  // namespace t740::sim
