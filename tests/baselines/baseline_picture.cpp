#include "baseline_picture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <string>

#include "picture_difference.h"

namespace t740::test {
namespace {

QString ScaleFolder() {
  return QStringLiteral("x%1").arg(std::lround(QApplication::primaryScreen()->devicePixelRatio()));
}

QString PathIn(const QString& root, std::string_view name, const char* ending) {
  const QString folder = root + QLatin1Char('/') + ScaleFolder();
  return folder + QLatin1Char('/') +
         QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) +
         QLatin1String(ending);
}

bool SaveMaking(const QImage& picture, const QString& path) {
  return QDir().mkpath(QFileInfo(path).path()) && picture.save(path);
}

bool Blessing() {
  return qgetenv("T740_BLESS_BASELINES") == "1";
}

void ReportMismatch(const QImage& picture, const PictureDifference& difference,
                    const QString& baseline, std::string_view name) {
  const QString root = QStringLiteral(T740_MISMATCH_DIR);
  const QString actualPath = PathIn(root, name, ".png");
  const QString differencePath = PathIn(root, name, ".diff.png");
  SaveMaking(picture, actualPath);
  if (difference.sameSize) SaveMaking(difference.picture, differencePath);
  ADD_FAILURE() << name << " differs from its baseline " << baseline.toStdString() << ": "
                << (difference.sameSize ? std::to_string(difference.differing) + " of " +
                                              std::to_string(difference.pixels) + " pixels"
                                        : std::string("another size"))
                << "; the new picture is " << actualPath.toStdString()
                << (difference.sameSize ? ", the difference " + differencePath.toStdString()
                                        : std::string());
}

}  // namespace

void ExpectBaseline(QWidget* window, std::string_view name) {
  ASSERT_TRUE(window);
  QApplication::processEvents();
  const QImage picture = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  const QString baseline = PathIn(QStringLiteral(T740_BASELINE_DIR), name, ".png");
  if (Blessing()) {
    EXPECT_TRUE(SaveMaking(picture, baseline)) << baseline.toStdString();
    return;
  }
  QImage expected;
  if (!expected.load(baseline)) {
    ADD_FAILURE() << "no baseline " << baseline.toStdString() << " (make baselines)";
    return;
  }
  const PictureDifference difference = ComparePictures(expected, picture);
  if (!difference.Matches()) ReportMismatch(picture, difference, baseline, name);
}

}  // namespace t740::test
