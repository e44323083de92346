#include "core/console/basic_info_record.h"

#include "core/card/card_address.h"
#include "core/card/groups.h"
#include "core/card/request_frame.h"

namespace t740 {
namespace {

std::string VersionText(char major, char minor) {
  return std::string{'V', major, '.', minor};
}

// The host record's texts; a record or text the host left out shows empty.
std::string RecordText(const char* text) {
  return text ? std::string(text) : std::string();
}

}  // namespace

std::optional<DeviceInformation> BuildDeviceInformation(const CCardObject& card,
                                                        std::string_view response,
                                                        MessageSink& messages) {
  const Group& group = GroupOf(GroupId::BasicInfo);
  const std::optional<std::string> data =
      AcceptReadResponse(response, group.readMinimum, group, messages);
  if (!data) return std::nullopt;
  const IdentifierFields fields = SplitCardAddress(card.CardAddress());
  const HostDeviceRecord* record = card.DeviceRecord();
  DeviceInformation shown;
  shown.ipAddress = card.IpAddress();
  shown.deviceType = record ? RecordText(record->deviceType) : std::string();
  shown.deviceAddress = fields.first;
  shown.cardAddress = fields.second;
  shown.location = record ? RecordText(record->location) : std::string();
  shown.software = VersionText((*data)[0], (*data)[1]);
  shown.hardware = VersionText((*data)[2], (*data)[3]);
  return shown;
}

}  // namespace t740
