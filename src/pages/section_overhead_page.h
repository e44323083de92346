// The section overhead tab of the configuration window: one tab per
// direction, all four read and written in one record of group ".12".
#ifndef T740_PAGES_SECTION_OVERHEAD_PAGE_H
#define T740_PAGES_SECTION_OVERHEAD_PAGE_H

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/card/card_object.h"
#include "core/card/page_load_rule.h"
#include "core/overhead/section_record.h"
#include "pages/section_direction_page.h"
#include "widgets/message_box.h"

class QTabWidget;

namespace Ui {
class SectionOverheadPage;
}

namespace t740 {

class CSectionOverheadPage : public QWidget {
 public:
  explicit CSectionOverheadPage(CCardObject& card, QWidget* parent = nullptr);
  ~CSectionOverheadPage() override;

  // The first read takes the start-up poll's response; later ones ask the
  // card and, once the initial load is done, show the progress animation
  // before the edits change.
  void ReadSectionOverhead();
  void SetSectionOverhead();
  // The configuration window calls this after each read.
  void MarkInitialLoadDone() { initialLoadDone_ = true; }

  CSectionDirectionPage* DirectionPage(size_t direction) const { return pages_[direction]; }

 private:
  void OnInitDialog();
  SectionDirections DirectionValues() const;
  void ShowDirections(const SectionDirections& directions);

  std::array<CSectionDirectionPage*, kSectionDirectionCount> pages_{};
  bool initialLoadDone_ = false;
  CacheFirstRead loadRule_{GroupId::SectionOverhead};
  CCardObject& card_;
  std::unique_ptr<Ui::SectionOverheadPage> ui_;
  QTabWidget* tabs_;
  PageMessages messages_;
};

}  // namespace t740

#endif
