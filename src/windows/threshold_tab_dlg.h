// The threshold container: a tab per port of the card's port pair, and the
// read and write of the threshold group.
#ifndef T740_WINDOWS_THRESHOLD_TAB_DLG_H
#define T740_WINDOWS_THRESHOLD_TAB_DLG_H

#include <QWidget>
#include <memory>
#include <string>

#include "core/card/card_object.h"
#include "core/thresholds/threshold_exchange.h"
#include "pages/threshold_page.h"

class QTabWidget;
namespace Ui {
class ThresholdTabDlg;
}

namespace t740 {

class CThresholdTabDlg : public QWidget {
  Q_OBJECT
 public:
  explicit CThresholdTabDlg(CCardObject& card, QWidget* parent = nullptr);
  ~CThresholdTabDlg() override;

  void ReadThresholds();
  void WriteThresholds();

  // A window that has no poll behind it lets the first read ask the card.
  void SkipCache() { reader_.SkipCache(); }

  CThresholdPage& FirstPage() { return firstPage_; }
  CThresholdPage2& SecondPage() { return secondPage_; }
  QTabWidget* Tabs() const;

 private:
  void ShowPage(int index);
  ThresholdTexts Texts() const;

  CCardObject& card_;
  std::unique_ptr<Ui::ThresholdTabDlg> ui_;
  QTabWidget* tabs_ = nullptr;
  CThresholdPage firstPage_;
  CThresholdPage2 secondPage_;
  const PortPair* ports_;
  ThresholdReader reader_;
};

}  // namespace t740

#endif
