// GetWarning's decoding of the host's alarm status text, against the plain
// transcription of the decoding rules: same result, level and text for any
// alarm type and any text.
#include <string>

#include "baseline_decoders.h"
#include "core/status/alarm_decoder.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  // Mostly the types around 1 to 16, sometimes any 32-bit value.
  const int32_t type = input.Flag() ? input.Int32() : input.Byte() % 20 - 1;
  const std::string status(input.Rest());

  const auto reading = t740::DecodeAlarm(type, status);
  int16_t level = -1;
  std::string text;
  const int result = baseline::GetWarning(type, status, &level, &text);

  FUZZ_CHECK(reading.has_value() == (result == 1));
  if (reading) {
    FUZZ_CHECK(reading->level == level);
    FUZZ_CHECK(reading->level == t740::kAlarmPresent || reading->level == t740::kAlarmAbsent);
    FUZZ_CHECK(text == reading->text);
  }
  return 0;
}
