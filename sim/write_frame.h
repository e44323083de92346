// How the card judges a write value: its set head, its data length, hex
// digits. A refused write answers one of these texts, never "1".
#ifndef T740_SIM_WRITE_FRAME_H
#define T740_SIM_WRITE_FRAME_H

#include <cstddef>
#include <optional>
#include <string_view>

namespace t740::sim {

constexpr size_t kHeadLength = 6;
constexpr std::string_view kWriteAccepted = "1";

enum class WriteError {
  WrongHead,
  WrongLength,
  NotHex,
  UnknownMode,
  NoSuchChannel,
  ReadOnlyGroup,
  NoSuchGroup,
  ReadArc,
};

const char* WriteErrorText(WriteError error);

using WriteResult = std::optional<WriteError>;

// The head must match and exactly `dataLength` characters must follow.
WriteResult CheckWriteFrame(std::string_view value, std::string_view head, size_t dataLength);
// Hex digits throughout `data`.
WriteResult CheckHexData(std::string_view data);

}  // namespace t740::sim

#endif
