#include "pages/property_page1.h"

#include "core/card/card_object.h"
#include "core/card/groups.h"
#include "core/card/page_load_rule.h"
#include "core/console/basic_info_record.h"
#include "ui_property_page1.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/message_box.h"

namespace t740 {

CPropertyPage1::CPropertyPage1(CCardObject& card, QWidget* parent)
    : QWidget(parent), card_(card), ui_(std::make_unique<Ui::CPropertyPage1>()) {
  ui_->setupUi(this);
  ApplyControlIds(this);
}

CPropertyPage1::~CPropertyPage1() = default;

void CPropertyPage1::Read() {
  std::string response;
  try {
    response = loadRule_.Response(card_);
  } catch (...) {
    return;
  }
  PageMessages messages(this);
  const std::optional<DeviceInformation> shown = BuildDeviceInformation(card_, response, messages);
  if (!shown) return;
  ui_->id1078->setText(FromGbk(shown->software));
  ui_->id1079->setText(FromGbk(shown->hardware));
  ui_->id1081->setText(FromGbk(shown->cardAddress));
  ui_->id1080->setText(FromGbk(shown->deviceType));
  ui_->id1086->setText(FromGbk(shown->location));
  ui_->id1087->setText(FromGbk(shown->ipAddress));
  ui_->id1089->setText(FromGbk(shown->deviceAddress));
}

}  // namespace t740
