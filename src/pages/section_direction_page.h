// The section overhead of one direction, a tab of the section overhead page.
#ifndef T740_PAGES_SECTION_DIRECTION_PAGE_H
#define T740_PAGES_SECTION_DIRECTION_PAGE_H

#include <QWidget>
#include <cstddef>
#include <memory>

#include "core/overhead/section_record.h"

namespace Ui {
class SectionDirectionPage;
}

namespace t740 {

class CSectionDirectionPage : public QWidget {
 public:
  // Direction 0 (A) to 3 (D); only A starts with texts.
  CSectionDirectionPage(size_t direction, QWidget* parent);
  ~CSectionDirectionPage() override;

  // The template of each direction's page.
  static int TemplateId(size_t direction);

  SectionDirection Values() const;
  void Show(const SectionDirection& values);

 private:
  void SetInitialTexts();

  std::unique_ptr<Ui::SectionDirectionPage> ui_;
};

}  // namespace t740

#endif
