#include "pages/property_page1.h"

#include <QLabel>
#include "core/card/card_object.h"
#include "core/card/groups.h"
#include "core/card/page_load_rule.h"
#include "core/console/basic_info_record.h"
#include "ids/device_page_ids.h"
#include "ui_property_page1.h"
#include "widgets/control_ids.h"
#include "widgets/gbk_qt.h"
#include "widgets/message_box.h"

namespace t740 {
namespace {

struct ValueField {
  int id;
  std::string DeviceInformation::*text;
};

// In the order a load fills them.
const ValueField kValues[] = {
    {ids::device_page::kSoftwareVersion, &DeviceInformation::software},
    {ids::device_page::kHardwareVersion, &DeviceInformation::hardware},
    {ids::device_page::kCardAddress, &DeviceInformation::cardAddress},
    {ids::device_page::kDeviceType, &DeviceInformation::deviceType},
    {ids::device_page::kLocation, &DeviceInformation::location},
    {ids::device_page::kIpAddress, &DeviceInformation::ipAddress},
    {ids::device_page::kDeviceAddress, &DeviceInformation::deviceAddress},
};

}  // namespace

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
  for (const ValueField& value : kValues) {
    ControlById<QLabel>(this, value.id)->setText(FromGbk(shown.value().*value.text));
  }
}

}  // namespace t740
