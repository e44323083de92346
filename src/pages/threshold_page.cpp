#include "pages/threshold_page.h"

#include <QLineEdit>
#include <QPushButton>

#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/plugin_fonts.h"
#include "widgets/message_box.h"
#include "core/thresholds/threshold_exchange.h"
#include "ui_threshold_page.h"

namespace t740 {

CThresholdPage::CThresholdPage(int templateId, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ThresholdPage>()) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  // Template 1027 shares its number with an edit, so the page is named last.
  setObjectName(QString::number(templateId));
  ApplyTemplateFont(this, templateId);
  for (int i = 0; i < kPortThresholds; ++i) {
    edits_[i] = findChild<QLineEdit*>(QString::number(ThresholdSlots()[i].editId));
  }
  connect(findChild<QPushButton*>(QStringLiteral("1004")), &QPushButton::clicked, this,
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
  const CCardObject* card = CurrentCard();
  if (!card) return;
  PageMessages messages(this);
  t740::ClearPerformanceCounters(*card, messages);
}

}  // namespace t740
