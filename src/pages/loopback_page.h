// The loopback control page (template 1012): loopback on or off for each
// optical port, LLP and RLP, read from and written to the card's loopback
// group in one byte.
#ifndef T740_PAGES_LOOPBACK_PAGE_H
#define T740_PAGES_LOOPBACK_PAGE_H

#include <QWidget>
#include <array>
#include <memory>

#include "core/card/card_object.h"
#include "core/card/page_load_rule.h"
#include "core/console/loopback_record.h"

class QComboBox;

namespace Ui {
class CLoopbackPage;
}

namespace t740 {

class CLoopbackPage : public QWidget {
 public:
  explicit CLoopbackPage(CCardObject& card, QWidget* parent = nullptr);
  ~CLoopbackPage() override;

  // The first read takes the polled cache; once the initial load is done a
  // read shows the progress dialog between the response and the boxes.
  void Read();
  // Writes the eight boxes as one byte and reports the outcome.
  void Set();

  // The configuration window marks the initial load after each read it asks for.
  void MarkInitialLoadDone() { initialLoadDone_ = 1; }
  bool InitialLoadDone() const { return initialLoadDone_ != 0; }
  bool CacheUsed() const { return loadRule_.CacheUsed(); }

 private:
  void InitBoxes();

  CCardObject& card_;
  std::unique_ptr<Ui::CLoopbackPage> ui_;
  std::array<QComboBox*, kLoopbackBoxes> boxes_{};  // in bit order, bit 7 first
  int initialLoadDone_ = 0;
  CacheFirstRead loadRule_{GroupId::Loopback};
};

}  // namespace t740

#endif
