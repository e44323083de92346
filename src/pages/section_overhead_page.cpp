#include "pages/section_overhead_page.h"

#include <QPushButton>
#include <QTabWidget>

#include "core/card/card_object.h"
#include "core/overhead/section_overhead.h"
#include "ids/section_overhead_ids.h"
#include "ui_section_overhead_page.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/poll_progress_dlg.h"

namespace t740 {
namespace {

const char* const kTabCaptions[kSectionDirectionCount] = {
    "A\xB7\xBD\xCF\xF2" /* A方向 */,
    "B\xB7\xBD\xCF\xF2" /* B方向 */,
    "C\xB7\xBD\xCF\xF2" /* C方向 */,
    "D\xB7\xBD\xCF\xF2" /* D方向 */,
};

}  // namespace

CSectionOverheadPage::CSectionOverheadPage(CCardObject& card, QWidget* parent)
    : QWidget(parent),
      card_(card),
      ui_(std::make_unique<Ui::SectionOverheadPage>()),
      messages_(this) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  tabs_ = ControlById<QTabWidget>(this, ids::section_overhead::kDirectionTabs);
  connect(ControlById<QPushButton>(this, ids::section_overhead::kHiddenRead), &QPushButton::clicked,
          this, [this] { ReadSectionOverhead(); });
  connect(ControlById<QPushButton>(this, ids::section_overhead::kHiddenSet), &QPushButton::clicked,
          this, [this] { SetSectionOverhead(); });
  OnInitDialog();
}

CSectionOverheadPage::~CSectionOverheadPage() = default;

void CSectionOverheadPage::OnInitDialog() {
  // The tab control shows the selected direction's page and hides the others.
  for (size_t d = 0; d < kSectionDirectionCount; ++d) {
    pages_[d] = new CSectionDirectionPage(d, tabs_);
    tabs_->insertTab(static_cast<int>(d), pages_[d], FromGbk(kTabCaptions[d]));
  }
  tabs_->setCurrentIndex(0);
}

void CSectionOverheadPage::ReadSectionOverhead() {
  try {
    const auto directions = FetchSectionOverhead(card_, loadRule_, messages_);
    if (!directions) return;
    if (initialLoadDone_) {
      CPollProgressDlg progress(&card_);
      progress.exec();
    }
    ShowDirections(*directions);
  } catch (...) {
    // A read that fails on the way ends quietly; what it showed stays.
  }
}

void CSectionOverheadPage::SetSectionOverhead() {
  WriteSectionOverhead(card_, DirectionValues(), messages_);
}

SectionDirections CSectionOverheadPage::DirectionValues() const {
  SectionDirections directions;
  for (size_t d = 0; d < kSectionDirectionCount; ++d) directions[d] = pages_[d]->Values();
  return directions;
}

void CSectionOverheadPage::ShowDirections(const SectionDirections& directions) {
  for (size_t d = 0; d < kSectionDirectionCount; ++d) pages_[d]->Show(directions[d]);
}

}  // namespace t740
