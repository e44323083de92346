// The library's exports. No exception leaves them, and a null output
// pointer from the host is rejected input.
#include <array>
#include <new>

#include "core/card/card_app.h"
#include "core/card/card_object.h"
#include "core/status/alarm_decoder.h"
#include "core/status/alarm_table.h"
#include "core/status/led_decoder.h"
#include "core/status/perf_decoder.h"
#include "t740/abi.h"
#include "windows/install_configuration_window.h"

namespace {

// Brings the application object into being when the library loads, and
// with it the configuration window behind OpenConfiguration.
[[maybe_unused]] const t740::CCardApp& app = []() -> const t740::CCardApp& {
  t740::InstallConfigurationWindow();
  return t740::CCardApp::Instance();
}();

// The decoders answer with fixed texts; shared copies spare the host an
// allocation per call.
const CText& AlarmText(int32_t type) {
  static const auto texts = [] {
    std::array<CText, t740::kAlarmTypeCount> all;
    for (int t = 1; t <= t740::kAlarmTypeCount; ++t) all[t - 1] = t740::FindAlarmType(t)->text;
    return all;
  }();
  return texts[type - 1];
}

}  // namespace

T740_EXPORT int32_t CreateObject(int32_t, CCardBase** out) {
  auto* card = new (std::nothrow) t740::CCardObject();
  t740::SetCurrentCard(card);
  if (out) *out = card;
  return 1;
}

T740_EXPORT int32_t GetWarning(int32_t type, CText status, CText, int16_t* level, CText* text) {
  if (!level || !text) return 0;
  try {
    const auto reading = t740::DecodeAlarm(type, status.view());
    if (!reading) return 0;
    *level = reading->level;
    *text = AlarmText(type);
    return 1;
  } catch (...) {
    return 0;
  }
}

T740_EXPORT int32_t GetLedState(int32_t, CText status, int16_t* count, CText* states) {
  if (!count || !states) return 0;
  try {
    const char* codes = t740::DecodeLedStates(status.view());
    if (!codes) return 0;
    static const CText kStates(codes);
    *count = t740::kLedCount;
    *states = kStates;
    return 1;
  } catch (...) {
    return 0;
  }
}

T740_EXPORT int32_t GetPerformanceData(int32_t, int16_t period, int16_t history, CText data,
                                       CText* texts, CText* labels, CText) {
  // Null arrays are rejected input only when the request would fill them.
  if ((!texts || !labels) && t740::PeriodWritesEntries(period)) return 0;
  try {
    return t740::DecodePerformanceData(period, history, data.view(), texts, labels) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
