// How far a window's picture is from its baseline. A pixel differs when one
// of its channels (red, green, blue, alpha) is more than kChannelTolerance
// away; a picture matches when it has the baseline's size and at most
// kDifferingShare of its pixels differ. The tolerance absorbs the odd
// antialiased edge pixel; a control moved by a pixel or two, a lost font or
// a changed text differs in far more.
#ifndef T740_TESTS_BASELINES_PICTURE_DIFFERENCE_H
#define T740_TESTS_BASELINES_PICTURE_DIFFERENCE_H

#include <QImage>
#include <cstdint>

namespace t740::test {

constexpr int kChannelTolerance = 32;
constexpr double kDifferingShare = 0.001;

struct PictureDifference {
  bool sameSize = false;
  int64_t differing = 0;
  int64_t pixels = 0;
  // The baseline faded, with the differing pixels in red.
  QImage picture;

  bool Matches() const {
    return sameSize &&
           static_cast<double>(differing) <= kDifferingShare * static_cast<double>(pixels);
  }
};

PictureDifference ComparePictures(const QImage& baseline, const QImage& actual);

}  // namespace t740::test

#endif
