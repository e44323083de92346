// Group ".50": the clear command is the head alone.
#ifndef T740_SIM_PERF_CLEAR_RECORD_H
#define T740_SIM_PERF_CLEAR_RECORD_H

#include <string_view>

#include "sim/write_frame.h"

namespace t740::sim {

WriteResult CheckPerfClearWrite(std::string_view value);

}  // namespace t740::sim

#endif
