#include "pages/loopback_page.h"

#include <QComboBox>
#include <QPushButton>

#include "core/card/card_object.h"
#include "core/card/groups.h"
#include "core/card/page_load_rule.h"
#include "core/card/request_frame.h"
#include "ids/loopback_page_ids.h"
#include "ui_loopback_page.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/message_box.h"
#include "widgets/poll_progress_dlg.h"

namespace t740 {

CLoopbackPage::CLoopbackPage(CCardObject& card, QWidget* parent)
    : QWidget(parent), card_(card), ui_(std::make_unique<Ui::CLoopbackPage>()) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  for (size_t i = 0; i < kLoopbackBoxes; ++i) {
    boxes_[i] = ControlById<QComboBox>(this, ids::loopback_page::kBoxes[i]);
  }
  InitBoxes();
  connect(ControlById<QPushButton>(this, ids::loopback_page::kHiddenSet), &QPushButton::clicked,
          this, [this] { Set(); });
  connect(ControlById<QPushButton>(this, ids::loopback_page::kHiddenRead), &QPushButton::clicked,
          this, [this] { Read(); });
}

CLoopbackPage::~CLoopbackPage() = default;

void CLoopbackPage::InitBoxes() {
  for (QComboBox* box : boxes_) {
    box->insertItem(0, FromGbk(kLoopbackOff));
    box->insertItem(1, FromGbk(kLoopbackOn));
    box->setCurrentIndex(0);
  }
}

void CLoopbackPage::Read() {
  PageMessages messages(this);
  const std::optional<std::string> data = loadRule_.Data(card_, messages);
  if (!data) return;
  if (initialLoadDone_ != 0) {
    CPollProgressDlg progress(&card_);
    progress.exec();
  }
  const auto on = ParseLoopback(*data);
  for (size_t i = 0; i < kLoopbackBoxes; ++i) {
    if (on[i]) boxes_[i]->setCurrentIndex(*on[i] ? 1 : 0);
  }
}

void CLoopbackPage::Set() {
  std::array<bool, kLoopbackBoxes> on{};
  for (size_t i = 0; i < kLoopbackBoxes; ++i) on[i] = boxes_[i]->currentIndex() != 0;
  PageMessages messages(this);
  WriteGroup(card_, GroupOf(GroupId::Loopback), BuildLoopbackData(on), messages);
}

}  // namespace t740
