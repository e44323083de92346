// The alarm desk's page, its style sheet and its script, built into the
// alerter from alerter/desk/assets/ so that the program serves them
// without any file beside it.
#ifndef T740_ALERTER_DESK_ASSETS_DESK_ASSETS_H
#define T740_ALERTER_DESK_ASSETS_DESK_ASSETS_H

#include <cstddef>
#include <vector>

namespace t740::alerter {

struct DeskAsset {
  const char* path;  // where it is served: "/", "/desk.css", "/desk.js"
  const char* contentType;
  const unsigned char* bytes;
  size_t size;
};

const std::vector<DeskAsset>& DeskAssets();

}  // namespace t740::alerter

#endif
