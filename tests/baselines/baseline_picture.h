// Checks a window's picture against its checked-in baseline,
// tests/baselines/pictures/x<scale>/<name>.png. On a mismatch the picture
// and a difference picture are written under the build's
// baseline-mismatches/ folder and named in the failure. With
// T740_BLESS_BASELINES=1 the picture becomes the new baseline instead.
#ifndef T740_TESTS_BASELINES_BASELINE_PICTURE_H
#define T740_TESTS_BASELINES_BASELINE_PICTURE_H

#include <string_view>

class QWidget;

namespace t740::test {

void ExpectBaseline(QWidget* window, std::string_view name);

}  // namespace t740::test

#endif
