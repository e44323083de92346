#include "support/screenshot.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace t740::test {

std::string SaveScreenshot(QWidget* widget, std::string_view name) {
  const QString directory = QStringLiteral(T740_SCREENSHOT_DIR);
  QDir().mkpath(directory);
  const QString path = directory + QLatin1Char('/') +
                       QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) +
                       QStringLiteral(".png");
  QApplication::processEvents();
  if (!widget || !widget->grab().save(path)) {
    ADD_FAILURE() << "could not save the screenshot " << path.toStdString();
    return std::string();
  }
  return path.toStdString();
}

}  // namespace t740::test
