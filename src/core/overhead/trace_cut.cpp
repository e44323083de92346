#include "core/overhead/trace_cut.h"

#include "core/overhead/gbk_chars.h"

namespace t740 {

TraceCut CutGbkText(std::string_view gbk, size_t limit) {
  TraceCut cut{0, 0};
  while (cut.bytes < gbk.size()) {
    const size_t length = GbkCharLength(gbk, cut.bytes);
    if (cut.bytes + length > limit) break;
    cut.bytes += length;
    ++cut.characters;
  }
  return cut;
}

}  // namespace t740
