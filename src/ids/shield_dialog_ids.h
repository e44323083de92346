// The alarm shielding dialog's template and controls, by role.
#ifndef T740_IDS_SHIELD_DIALOG_IDS_H
#define T740_IDS_SHIELD_DIALOG_IDS_H

namespace t740::ids::shield_dialog {

constexpr int kTemplate = 1022;
constexpr int kAlarmList = 1012;
constexpr int kSelectAll = 1013;
constexpr int kOk = 1004;
constexpr int kCancel = 1005;

}  // namespace t740::ids::shield_dialog

#endif
