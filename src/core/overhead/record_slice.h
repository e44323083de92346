// Fixed-offset slices of a response that may be shorter than its layout.
#ifndef T740_CORE_OVERHEAD_RECORD_SLICE_H
#define T740_CORE_OVERHEAD_RECORD_SLICE_H

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace t740 {

// The characters of [offset, offset + length) that exist, possibly none.
inline std::string SliceOf(std::string_view data, size_t offset, size_t length) {
  return std::string(data.substr(std::min(offset, data.size()), length));
}

}  // namespace t740

#endif
