#include "sim/section_record.h"

#include "sim/hex.h"
#include "sim/line_side.h"
#include "sim/trace.h"

namespace t740::sim {
namespace {

// F0 is 240, the record's length in bytes.
constexpr char kSectionHead[] = "F00000";
constexpr char kReserved[] = "0000000000";

// Offsets within a block.
constexpr size_t kExpectedJ0 = 32;
constexpr size_t kSendJ0 = 64;
constexpr size_t kSendK1 = 98;
constexpr size_t kSendK2 = 102;
constexpr size_t kSendS1 = 106;
constexpr size_t kSendZ0 = 108;
constexpr size_t kByteLength = 2;

std::string BlockOf(const CardState& state, int port) {
  const SectionSettings& own = state.ports[port].section;
  const SectionBytes received = ReceivedSection(state, port);
  return received.j0 + own.expectedJ0 + own.send.j0 + received.k1 + own.send.k1 + received.k2 +
         own.send.k2 + received.s1 + own.send.s1 + own.sendZ0 + kReserved;
}

SectionSettings SettingsOf(std::string_view block) {
  SectionSettings settings;
  settings.expectedJ0 = UpperHex(block.substr(kExpectedJ0, kTraceHexLength));
  settings.send.j0 = UpperHex(block.substr(kSendJ0, kTraceHexLength));
  settings.send.k1 = UpperHex(block.substr(kSendK1, kByteLength));
  settings.send.k2 = UpperHex(block.substr(kSendK2, kByteLength));
  settings.send.s1 = UpperHex(block.substr(kSendS1, kByteLength));
  settings.sendZ0 = UpperHex(block.substr(kSendZ0, kByteLength));
  return settings;
}

}  // namespace

std::string SectionResponse(const CardState& state) {
  std::string response = kSectionHead;
  for (int port = 0; port < kPortCount; ++port) response += BlockOf(state, port);
  return response;
}

WriteResult ApplySectionWrite(CardState& state, std::string_view value) {
  if (auto error = CheckWriteFrame(value, kSectionHead, kSectionRecordLength)) return error;
  const std::string_view record = value.substr(kHeadLength);
  if (auto error = CheckHexData(record)) return error;
  for (int port = 0; port < kPortCount; ++port) {
    state.ports[port].section = SettingsOf(record.substr(port * kSectionBlockLength));
  }
  return std::nullopt;
}

}  // namespace t740::sim
