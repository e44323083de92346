// The device information page's template and value fields, by role.
#ifndef T740_IDS_DEVICE_PAGE_IDS_H
#define T740_IDS_DEVICE_PAGE_IDS_H

namespace t740::ids::device_page {

constexpr int kTemplate = 1001;
constexpr int kIpAddress = 1087;
constexpr int kDeviceType = 1080;
constexpr int kDeviceAddress = 1089;
constexpr int kCardAddress = 1081;
constexpr int kLocation = 1086;
constexpr int kSoftwareVersion = 1078;
constexpr int kHardwareVersion = 1079;

}  // namespace t740::ids::device_page

#endif
