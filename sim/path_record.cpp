#include "sim/path_record.h"

#include <algorithm>

#include "sim/hex.h"
#include "sim/line_side.h"
#include "sim/trace.h"

namespace t740::sim {
namespace {

// 3C is 60 bytes: the record rounded up to whole words.
constexpr char kPathHead[] = "3C0000";
constexpr char kSelectMode[] = "00";
constexpr char kSetMode[] = "01";
constexpr char kReserved[] = "00";

// Offsets within the record.
constexpr size_t kMode = 0;
constexpr size_t kPort = 2;
constexpr size_t kVc4 = 4;
constexpr size_t kChannelEnd = 6;
constexpr size_t kExpectedJ1 = 38;
constexpr size_t kSendJ1 = 70;
constexpr size_t kExpectedC2 = 104;
constexpr size_t kSendC2 = 106;
constexpr size_t kSendK3 = 110;
constexpr size_t kSendG1 = 112;
constexpr size_t kSendN1 = 114;
constexpr size_t kFieldLength = 2;

// Channel numbers are "00" to "03".
std::string NumberField(int number) {
  return {'0', static_cast<char>('0' + number)};
}

int ParseNumberField(std::string_view field, int count) {
  if (field.size() != kFieldLength || field[0] != '0') return -1;
  const int number = field[1] - '0';
  return number >= 0 && number < count ? number : -1;
}

PathSettings SettingsOf(std::string_view record) {
  PathSettings settings;
  settings.expectedJ1 = UpperHex(record.substr(kExpectedJ1, kTraceHexLength));
  settings.send.j1 = UpperHex(record.substr(kSendJ1, kTraceHexLength));
  settings.expectedC2 = UpperHex(record.substr(kExpectedC2, kFieldLength));
  settings.send.c2 = UpperHex(record.substr(kSendC2, kFieldLength));
  settings.sendK3 = UpperHex(record.substr(kSendK3, kFieldLength));
  settings.sendG1 = UpperHex(record.substr(kSendG1, kFieldLength));
  settings.sendN1 = UpperHex(record.substr(kSendN1, kFieldLength));
  return settings;
}

}  // namespace

std::string PathResponse(const CardState& state) {
  const Channel channel = state.selectedChannel;
  const PathSettings& own = state.ports[channel.port].paths[channel.vc4];
  const PathBytes received = ReceivedPath(state, channel.port, channel.vc4);
  return kPathHead + std::string(kSelectMode) + NumberField(channel.port) +
         NumberField(channel.vc4) + received.j1 + own.expectedJ1 + own.send.j1 + received.c2 +
         own.expectedC2 + own.send.c2 + kReserved + own.sendK3 + own.sendG1 + own.sendN1;
}

WriteResult ApplyPathWrite(CardState& state, std::string_view value) {
  if (value.substr(0, kHeadLength) != kPathHead) return WriteError::WrongHead;
  const std::string_view record = value.substr(std::min(value.size(), kHeadLength));
  if (record.size() < kChannelEnd) return WriteError::WrongLength;
  const std::string_view mode = record.substr(kMode, kFieldLength);
  if (mode != kSelectMode && mode != kSetMode) return WriteError::UnknownMode;
  const int port = ParseNumberField(record.substr(kPort, kFieldLength), kPortCount);
  const int vc4 = ParseNumberField(record.substr(kVc4, kFieldLength), kVc4Count);
  if (port < 0 || vc4 < 0) return WriteError::NoSuchChannel;
  if (mode == kSetMode) {
    if (record.size() != kPathRecordLength) return WriteError::WrongLength;
    if (auto error = CheckHexData(record)) return error;
    state.ports[port].paths[vc4] = SettingsOf(record);
  }
  state.selectedChannel = {port, vc4};
  return std::nullopt;
}

}  // namespace t740::sim
