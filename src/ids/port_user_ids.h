// The port user page's template and its list, which share one number.
#ifndef T740_IDS_PORT_USER_IDS_H
#define T740_IDS_PORT_USER_IDS_H

namespace t740::ids::port_user {

constexpr int kTemplate = 1090;
constexpr int kList = 1090;

}  // namespace t740::ids::port_user

#endif
