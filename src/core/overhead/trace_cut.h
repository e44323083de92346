// The cut that keeps a trace identifier edit at 32 bytes of GBK text.
#ifndef T740_CORE_OVERHEAD_TRACE_CUT_H
#define T740_CORE_OVERHEAD_TRACE_CUT_H

#include <cstddef>
#include <string_view>

namespace t740 {

constexpr size_t kTraceLength = 32;

struct TraceCut {
  size_t bytes;       // GBK bytes kept
  size_t characters;  // whole characters in those bytes
};

// The longest start of the text within `limit` bytes that does not split a
// double-byte character.
TraceCut CutGbkText(std::string_view gbk, size_t limit = kTraceLength);

}  // namespace t740

#endif
