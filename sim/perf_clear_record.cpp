#include "sim/perf_clear_record.h"

namespace t740::sim {

WriteResult CheckPerfClearWrite(std::string_view value) {
  return CheckWriteFrame(value, "000000", 0);
}

}  // namespace t740::sim
