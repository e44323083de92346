// The GetAlarmSheild export: the shielding dialog, run modally with the
// plug-in's resources current, and its mask handed back to the host.
#include "pages/alarm_shield_dlg.h"
#include "t740/abi.h"
#include "widgets/resource_scope.h"

T740_EXPORT int32_t GetAlarmSheild(int32_t, CText mask, int16_t maskLength, CText* result,
                                   int16_t* resultLength, CText levels) {
  if (!result || !resultLength) return 0;
  try {
    t740::ResourceScope resources;
    t740::CAlarmShieldDlg dialog(mask.view(), maskLength, levels.view());
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    CText resultMask(confirmed ? dialog.ResultMask() : std::string());
    *result = std::move(resultMask);
    *resultLength = confirmed ? static_cast<int16_t>(dialog.ResultLength()) : 0;
    return confirmed ? 1 : 0;
  } catch (...) {
    *result = CText();
    *resultLength = 0;
    return 0;
  }
}
