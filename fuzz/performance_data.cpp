// GetPerformanceData's cutting and formatting of the host's performance
// data, against the plain transcription of the rules: same result and the
// same 44 entries, untouched ones included. The output arrays are exactly
// 44 entries long, so a write past them is caught by AddressSanitizer.
#include <string>
#include <vector>

#include "baseline_decoders.h"
#include "core/status/perf_decoder.h"
#include "fuzz_input.h"

namespace {

constexpr size_t kEntries = 2 * t740::kPerfHalfEntries;
constexpr int kFields = 5;

// The five fields of the fuzzer's text, each made long enough to pass the
// length check (and sometimes long enough for full record areas), so that
// the counts and records are what varies.
std::string PaddedData(std::string_view text, size_t fieldLength) {
  std::string data;
  for (int field = 0; field < kFields; ++field) {
    const size_t comma = text.find(',');
    std::string piece(text.substr(0, comma));
    text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    if (piece.size() < fieldLength) piece.resize(fieldLength, '0');
    data += piece;
    data += ',';
  }
  return data;
}

int16_t Period(t740::fuzz::Input& input) {
  switch (input.Byte() % 4) {
    case 0:
      return 24;
    case 1:
      return input.Int16();
    default:
      return 15;
  }
}

std::string Untouched(size_t entry) {
  return "untouched " + std::to_string(entry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const int16_t period = Period(input);
  const int16_t history = input.Flag() ? 0 : input.Int16();
  const uint8_t shape = input.Byte() % 3;
  const std::string text =
      shape == 0 ? std::string(input.Rest()) : PaddedData(input.Rest(), shape == 1 ? 900 : 906);

  std::vector<CText> texts(kEntries), labels(kEntries);
  std::vector<std::string> expectedTexts(kEntries), expectedLabels(kEntries);
  for (size_t i = 0; i < kEntries; ++i) {
    texts[i] = labels[i] = CText(Untouched(i));
    expectedTexts[i] = expectedLabels[i] = Untouched(i);
  }
  const bool decoded =
      t740::DecodePerformanceData(period, history, text, texts.data(), labels.data());
  const int result = baseline::GetPerformanceData(period, history, text, expectedTexts.data(),
                                                  expectedLabels.data());

  FUZZ_CHECK(decoded == (result == 1));
  for (size_t i = 0; i < kEntries; ++i) {
    FUZZ_CHECK(texts[i].view() == expectedTexts[i]);
    FUZZ_CHECK(labels[i].view() == expectedLabels[i]);
    FUZZ_CHECK(texts[i].size() <= t740::kPerfFormattedMaximum);
  }
  return 0;
}
