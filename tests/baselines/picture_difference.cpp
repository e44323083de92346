#include "picture_difference.h"

#include <QColor>
#include <cstdlib>

namespace t740::test {
namespace {

bool Differs(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) > kChannelTolerance ||
         std::abs(qGreen(a) - qGreen(b)) > kChannelTolerance ||
         std::abs(qBlue(a) - qBlue(b)) > kChannelTolerance ||
         std::abs(qAlpha(a) - qAlpha(b)) > kChannelTolerance;
}

QRgb Faded(QRgb pixel) {
  return qRgb(192 + qGray(pixel) / 4, 192 + qGray(pixel) / 4, 192 + qGray(pixel) / 4);
}

}  // namespace

PictureDifference ComparePictures(const QImage& baseline, const QImage& actual) {
  PictureDifference difference;
  difference.sameSize = baseline.size() == actual.size();
  if (!difference.sameSize) return difference;
  const QImage expected = baseline.convertToFormat(QImage::Format_ARGB32);
  const QImage got = actual.convertToFormat(QImage::Format_ARGB32);
  difference.picture = QImage(expected.size(), QImage::Format_RGB32);
  difference.pixels = int64_t{expected.width()} * expected.height();
  for (int y = 0; y < expected.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(got.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(difference.picture.scanLine(y));
    for (int x = 0; x < expected.width(); ++x) {
      const bool differs = Differs(a[x], b[x]);
      difference.differing += differs;
      out[x] = differs ? qRgb(255, 0, 0) : Faded(a[x]);
    }
  }
  return difference;
}

}  // namespace t740::test
