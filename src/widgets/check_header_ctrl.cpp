#include "widgets/check_header_ctrl.h"

#include <QPainter>
#include <QPixmap>

namespace t740 {
namespace {

constexpr int kImageMargin = 4;

// Loaded at each paint (Qt caches the file): the plug-in's resources are
// registered only while one of its windows is up.
QPixmap ImageOf(HeaderImage image) {
  return QPixmap(image == HeaderImage::kChecked
                     ? QStringLiteral(":/t740/bitmaps/header_checked")
                     : QStringLiteral(":/t740/bitmaps/header_unchecked"));
}

}  // namespace

CCheckHeaderCtrl::CCheckHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
}

void CCheckHeaderCtrl::SetCheckImage(int column, HeaderImage image) {
  if (column < 0) return;
  if (static_cast<size_t>(column) >= images_.size()) {
    images_.resize(static_cast<size_t>(column) + 1, HeaderImage::kNone);
  }
  if (images_[column] == image) return;
  images_[column] = image;
  updateSection(column);
}

HeaderImage CCheckHeaderCtrl::CheckImage(int column) const {
  if (column < 0 || static_cast<size_t>(column) >= images_.size()) return HeaderImage::kNone;
  return images_[column];
}

void CCheckHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  // The base leaves its own clip behind; draw the image outside it.
  painter->save();
  QHeaderView::paintSection(painter, rect, logicalIndex);
  painter->restore();
  const HeaderImage image = CheckImage(logicalIndex);
  if (image == HeaderImage::kNone) return;
  const QPixmap pixmap = ImageOf(image);
  const QPoint at(rect.left() + kImageMargin, rect.top() + (rect.height() - pixmap.height()) / 2);
  painter->drawPixmap(at, pixmap);
}

}  // namespace t740
