// One port's threshold page: 54 edits by the port block table and the
// performance counter clear button.
#ifndef T740_PAGES_THRESHOLD_PAGE_H
#define T740_PAGES_THRESHOLD_PAGE_H

#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "core/card/card_object.h"
#include "core/thresholds/threshold_table.h"
#include "ids/threshold_page_ids.h"

class QLineEdit;
namespace Ui {
class ThresholdPage;
}

namespace t740 {

using PortThresholdTexts = std::array<std::string, kPortThresholds>;

// Template 1027, the first port of the pair.
class CThresholdPage : public QWidget {
  Q_OBJECT
 public:
  explicit CThresholdPage(CCardObject& card, QWidget* parent = nullptr)
      : CThresholdPage(ids::threshold_page::kFirstTemplate, card, parent) {}
  ~CThresholdPage() override;

  // The edit texts as GBK, port block order; the edits are the only store.
  PortThresholdTexts Texts() const;
  void SetTexts(const PortThresholdTexts& texts);
  QLineEdit* Edit(int index) const { return edits_[index]; }

  void ClearPerformanceCounters();

 protected:
  CThresholdPage(int templateId, CCardObject& card, QWidget* parent);

 private:
  CCardObject& card_;
  std::unique_ptr<Ui::ThresholdPage> ui_;
  std::array<QLineEdit*, kPortThresholds> edits_{};
};

// Template 1030, the second port of the pair: the same controls.
class CThresholdPage2 : public CThresholdPage {
  Q_OBJECT
 public:
  explicit CThresholdPage2(CCardObject& card, QWidget* parent = nullptr)
      : CThresholdPage(ids::threshold_page::kSecondTemplate, card, parent) {}
};

}  // namespace t740

#endif
