// What the device information page shows: identity texts of the card
// object and the host's device record, versions from the basic-information
// response (group ".1").
#ifndef T740_CORE_CONSOLE_BASIC_INFO_RECORD_H
#define T740_CORE_CONSOLE_BASIC_INFO_RECORD_H

#include <optional>
#include <string>
#include <string_view>

#include "core/card/card_object.h"
#include "core/card/message_sink.h"

namespace t740 {

// All texts GBK, as shown in the seven value controls.
struct DeviceInformation {
  std::string ipAddress;      // 1087
  std::string deviceType;     // 1080
  std::string deviceAddress;  // 1089
  std::string cardAddress;    // 1081
  std::string location;       // 1086
  std::string software;       // 1078, "V" d0 "." d1
  std::string hardware;       // 1079, "V" d2 "." d3
};

// The page's texts for a basic-information response (head included), or
// nothing after the incomplete-data message for one of fewer than 10
// characters. The version digits are shown as they stand.
std::optional<DeviceInformation> BuildDeviceInformation(const CCardObject& card,
                                                        std::string_view response,
                                                        MessageSink& messages);

}  // namespace t740

#endif
