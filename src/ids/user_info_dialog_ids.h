// The remark edit dialog's template and controls, by role.
#ifndef T740_IDS_USER_INFO_DIALOG_IDS_H
#define T740_IDS_USER_INFO_DIALOG_IDS_H

namespace t740::ids::user_info_dialog {

constexpr int kTemplate = 1033;
constexpr int kRemark = 1091;
constexpr int kOk = 1004;
constexpr int kCancel = 1005;

}  // namespace t740::ids::user_info_dialog

#endif
