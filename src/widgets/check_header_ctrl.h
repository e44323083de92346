// The list's column headings, drawn by the header itself so that a column
// can show a check image beside its heading.
#ifndef T740_WIDGETS_CHECK_HEADER_CTRL_H
#define T740_WIDGETS_CHECK_HEADER_CTRL_H

#include <QHeaderView>
#include <vector>

namespace t740 {

enum class HeaderImage { kNone, kUnchecked, kChecked };

class CCheckHeaderCtrl : public QHeaderView {
 public:
  explicit CCheckHeaderCtrl(QWidget* parent = nullptr);

  void SetCheckImage(int column, HeaderImage image);
  HeaderImage CheckImage(int column) const;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  std::vector<HeaderImage> images_;
};

}  // namespace t740

#endif
