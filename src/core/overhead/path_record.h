// The higher-order path overhead record of group ".13": mode, port, VC4 and
// the J1, C2, K3, G1 and N1 bytes of that one channel.
#ifndef T740_CORE_OVERHEAD_PATH_RECORD_H
#define T740_CORE_OVERHEAD_PATH_RECORD_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/card/message_sink.h"

namespace t740 {

constexpr size_t kPathRecordLength = 116;
constexpr int kPathListLength = 4;  // ports A to D, VC4 1 to 4
constexpr int kNoListPosition = -1;

// The mode of a set, and of the write that selects the channel to read.
constexpr const char kPathModeSet[] = "01";
constexpr const char kPathModeSelect[] = "00";

// The texts of the page, GBK as the edits hold them.
struct PathOverhead {
  int port = 0;  // list positions; kNoListPosition for none
  int vc4 = 0;
  std::string j1Received;
  std::string j1Expected;
  std::string j1Send;
  std::string c2Received;
  std::string c2Expected;
  std::string c2Send;
  std::string k3Send;
  bool g1RemoteDefect = false;  // "HP_RDI" rather than "正常"
  std::string n1Send;
};

// "00", "01", "02" for the first three positions, "03" for anything else.
std::string EncodeListPosition(int position);

// The channel a response reports, after its head. A port or VC4 outside
// 0 to 3 comes out as kNoListPosition; fields past the end of a short
// response come out short or empty.
PathOverhead ParsePathRecord(std::string_view data);

// The record for `mode`. With `validate` the editable values are checked by
// length first and the first bad one gets its message and no record. The
// received J1 and C2 are sent as zeros unless they have their full width,
// so that every later field keeps its offset.
std::optional<std::string> BuildPathRecord(std::string_view mode, bool validate,
                                           const PathOverhead& values, MessageSink& messages);

}  // namespace t740

#endif
