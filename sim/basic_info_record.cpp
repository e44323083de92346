#include "sim/basic_info_record.h"

namespace t740::sim {
namespace {

// Two bytes of data follow the head.
constexpr char kBasicInfoHead[] = "020000";

}  // namespace

std::string BasicInfoResponse(const CardState& state) {
  return kBasicInfoHead + state.versionDigits;
}

}  // namespace t740::sim
