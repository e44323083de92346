#include "windows/threshold_tab_dlg.h"
#include "ids/threshold_container_ids.h"

#include <QPushButton>
#include <QTabWidget>

#include "ui_threshold_tab_dlg.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/message_box.h"

namespace t740 {

CThresholdTabDlg::CThresholdTabDlg(CCardObject& card, QWidget* parent)
    : QWidget(parent),
      card_(card),
      ui_(std::make_unique<Ui::ThresholdTabDlg>()),
      firstPage_(card),
      secondPage_(card) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  // The pages' clear buttons share an id with a hidden button here, so the
  // container's own controls are found before the pages join.
  tabs_ = ControlById<QTabWidget>(this, ids::threshold_container::kPortTabs);
  connect(ControlById<QPushButton>(this, ids::threshold_container::kHiddenRead),
          &QPushButton::clicked, this, &CThresholdTabDlg::ReadThresholds);
  connect(ControlById<QPushButton>(this, ids::threshold_container::kHiddenSet),
          &QPushButton::clicked, this, &CThresholdTabDlg::WriteThresholds);
  ports_ = &PortPairOf(card_.CardAddress());
  tabs_->addTab(&firstPage_, FromGbk(ports_->firstTab));
  tabs_->addTab(&secondPage_, FromGbk(ports_->secondTab));
  tabs_->setCurrentIndex(0);
  connect(tabs_, &QTabWidget::currentChanged, this, &CThresholdTabDlg::ShowPage);
}

// The pages are members: take them out of the tab widget before it goes.
CThresholdTabDlg::~CThresholdTabDlg() {
  firstPage_.setParent(nullptr);
  secondPage_.setParent(nullptr);
}

QTabWidget* CThresholdTabDlg::Tabs() const {
  return tabs_;
}

void CThresholdTabDlg::ShowPage(int index) {
  if (index < 0 || index > 1) return;
  firstPage_.setVisible(index == 0);
  secondPage_.setVisible(index == 1);
}

ThresholdTexts CThresholdTabDlg::Texts() const {
  ThresholdTexts texts;
  const PortThresholdTexts first = firstPage_.Texts();
  const PortThresholdTexts second = secondPage_.Texts();
  std::copy(first.begin(), first.end(), texts.begin());
  std::copy(second.begin(), second.end(), texts.begin() + kPortThresholds);
  return texts;
}

void CThresholdTabDlg::ReadThresholds() {
  PageMessages messages(this);
  const std::optional<ThresholdTexts> texts = reader_.Read(card_, messages);
  if (!texts) return;
  PortThresholdTexts first;
  PortThresholdTexts second;
  std::copy(texts->begin(), texts->begin() + kPortThresholds, first.begin());
  std::copy(texts->begin() + kPortThresholds, texts->end(), second.begin());
  firstPage_.SetTexts(first);
  secondPage_.SetTexts(second);
}

void CThresholdTabDlg::WriteThresholds() {
  PageMessages messages(this);
  t740::WriteThresholds(card_, Texts(), *ports_, messages);
}

}  // namespace t740
