#include "pages/threshold_page.h"
#include "ids/threshold_page_ids.h"

#include <QLineEdit>
#include <QPushButton>

#include "core/thresholds/threshold_exchange.h"
#include "ui_threshold_page.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/message_box.h"
#include "widgets/plugin_fonts.h"

namespace t740 {

CThresholdPage::CThresholdPage(int templateId, CCardObject& card, QWidget* parent)
    : QWidget(parent), card_(card), ui_(std::make_unique<Ui::ThresholdPage>()) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  // Template 1027 shares its number with an edit, so the page is named last.
  setObjectName(QString::number(templateId));
  ApplyTemplateFont(this, templateId);
  for (int i = 0; i < kPortThresholds; ++i) {
    edits_[i] = ControlById<QLineEdit>(this, ThresholdSlots()[i].editId);
  }
  connect(ControlById<QPushButton>(this, ids::threshold_page::kClear), &QPushButton::clicked, this,
          &CThresholdPage::ClearPerformanceCounters);
}

CThresholdPage::~CThresholdPage() = default;

PortThresholdTexts CThresholdPage::Texts() const {
  PortThresholdTexts texts;
  for (int i = 0; i < kPortThresholds; ++i) texts[i] = ToGbk(edits_[i]->text());
  return texts;
}

void CThresholdPage::SetTexts(const PortThresholdTexts& texts) {
  for (int i = 0; i < kPortThresholds; ++i) edits_[i]->setText(FromGbk(texts[i]));
}

void CThresholdPage::ClearPerformanceCounters() {
  PageMessages messages(this);
  t740::ClearPerformanceCounters(card_, messages);
}

}  // namespace t740
