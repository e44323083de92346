// Texts that reach the trace and byte edits (from a read or typed): the cut
// to 32 bytes never splits a double-byte character, and upper-casing
// touches single-byte "a" to "z" only, never the trail byte of a character.
#include <string>
#include <vector>

#include "core/overhead/trace_cut.h"
#include "core/overhead/upper_ascii.h"
#include "fuzz_input.h"

namespace {

bool IsLead(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const size_t limit = input.Byte() % 40;
  const std::string_view text = input.Rest();

  // Walk the characters once, as the rules read GBK: a lead byte takes the
  // byte after it, if there is one.
  std::vector<size_t> starts;
  for (size_t at = 0; at < text.size(); at += IsLead(text[at]) && at + 1 < text.size() ? 2 : 1) {
    starts.push_back(at);
  }
  starts.push_back(text.size());

  const t740::TraceCut cut = t740::CutGbkText(text, limit);
  FUZZ_CHECK(cut.bytes <= limit && cut.bytes <= text.size());
  FUZZ_CHECK(cut.characters < starts.size() && starts[cut.characters] == cut.bytes);
  // The longest such start: the next character would not fit.
  if (cut.characters + 1 < starts.size()) FUZZ_CHECK(starts[cut.characters + 1] > limit);

  const std::string upper = t740::UpperAscii(text);
  FUZZ_CHECK(upper.size() == text.size());
  for (size_t i = 0; i + 1 < starts.size(); ++i) {
    const size_t at = starts[i];
    const bool single = starts[i + 1] - at == 1;
    const char c = text[at];
    const bool lower = single && c >= 'a' && c <= 'z';
    FUZZ_CHECK(upper[at] == (lower ? static_cast<char>(c - 'a' + 'A') : c));
    if (!single) FUZZ_CHECK(upper[at + 1] == text[at + 1]);
  }
  return 0;
}
