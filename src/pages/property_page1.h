// The device information page (template 1001): who the card is, and its
// software and hardware versions from the basic-information group. It is
// read-only; the configuration window calls Read once after the poll.
#ifndef T740_PAGES_PROPERTY_PAGE1_H
#define T740_PAGES_PROPERTY_PAGE1_H

#include <QWidget>
#include <memory>

#include "core/card/card_object.h"
#include "core/card/page_load_rule.h"

namespace Ui {
class CPropertyPage1;
}

namespace t740 {

class CPropertyPage1 : public QWidget {
 public:
  explicit CPropertyPage1(CCardObject& card, QWidget* parent = nullptr);
  ~CPropertyPage1() override;

  // Fills the seven value controls, or reports incomplete data and leaves
  // them as they were. The first read takes the polled cache.
  void Read();

  bool CacheUsed() const { return loadRule_.CacheUsed(); }

 private:
  CCardObject& card_;
  std::unique_ptr<Ui::CPropertyPage1> ui_;
  CacheFirstRead loadRule_{GroupId::BasicInfo};
};

}  // namespace t740

#endif
