// The 108 threshold texts as typed: ASCII digits only (none reads as 0), at
// most 65535, the first failing value reported alone with its port's
// prefix; a data block that passes decodes to the same numbers.
#include <algorithm>
#include <string>
#include <vector>

#include "core/thresholds/threshold_data.h"
#include "fuzz_input.h"

namespace {

// Saturates far above the limit, so that a long digit string stays large.
std::optional<uint32_t> ReferenceValue(std::string_view text) {
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), 1u << 20);
  }
  if (value > 65535) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const std::string cardAddress(input.Take(input.Byte() % 6));
  // Texts are cut at "\n"; the values the input does not reach are empty.
  t740::ThresholdTexts texts;
  std::string_view rest = input.Rest();
  for (std::string& text : texts) {
    if (rest.empty()) break;
    const size_t end = rest.find('\n');
    text = std::string(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }

  int firstBad = -1;
  for (int k = 0; k < t740::kThresholdValues; ++k) {
    const auto parsed = t740::ParseThresholdValue(texts[k]);
    const auto expected = ReferenceValue(texts[k]);
    FUZZ_CHECK(parsed.has_value() == expected.has_value());
    if (parsed) FUZZ_CHECK(*parsed == *expected);
    if (!parsed && firstBad < 0) firstBad = k;
  }

  const t740::PortPair& ports = t740::PortPairOf(cardAddress);
  struct Recorder : t740::MessageSink {
    void ShowMessage(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
  } messages;
  std::string encoded = "left over";
  const bool built = t740::BuildThresholdData(texts, ports, messages, encoded);
  FUZZ_CHECK(built == (firstBad < 0));
  if (!built) {
    const bool firstPort = firstBad < t740::kPortThresholds;
    FUZZ_CHECK(encoded.empty());
    FUZZ_CHECK(messages.shown.size() == 1);
    FUZZ_CHECK(messages.shown.front() ==
               t740::ThresholdMessage(firstPort ? ports.firstPrefix : ports.secondPrefix,
                                      firstBad % t740::kPortThresholds));
    return 0;
  }
  FUZZ_CHECK(messages.shown.empty());
  FUZZ_CHECK(encoded.size() == t740::kThresholdDataLength);
  FUZZ_CHECK(encoded.find_first_not_of("0123456789ABCDEF") == std::string::npos);
  const t740::ThresholdTexts decoded = t740::DecodeThresholdData(encoded);
  for (int k = 0; k < t740::kThresholdValues; ++k) {
    FUZZ_CHECK(decoded[k] == std::to_string(*ReferenceValue(texts[k])));
  }
  return 0;
}
