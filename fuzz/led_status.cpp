// GetLedState's decoding of the host's LED status text, against the plain
// transcription of the decoding rules.
#include <string>

#include "baseline_decoders.h"
#include "core/status/led_decoder.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const std::string status(input.Rest());

  const char* states = t740::DecodeLedStates(status);
  int16_t count = -1;
  std::string expected;
  const int result = baseline::GetLedState(status, &count, &expected);

  FUZZ_CHECK((states != nullptr) == (result == 1));
  if (states) {
    FUZZ_CHECK(count == t740::kLedCount);
    FUZZ_CHECK(expected == states);
  }
  return 0;
}
