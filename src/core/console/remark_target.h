// Which file a save of the remark file replaces. The operator may have made
// the card's remark file a symbolic link (to share it between two cards, or
// keep it with another file of the card); a save then replaces the file the
// link ends at and leaves the link as it is.
#ifndef T740_CORE_CONSOLE_REMARK_TARGET_H
#define T740_CORE_CONSOLE_REMARK_TARGET_H

#include <optional>
#include <string>

namespace t740 {

// `path` itself when it is not a link; else the file its chain of links
// ends at, which need not exist yet. Nothing when the chain loops, is
// broken in a directory, or ends outside the directory of `path`: a save
// must not write there.
std::optional<std::string> RemarkSaveTarget(const std::string& path);

}  // namespace t740

#endif
