// The shielding mask GetAlarmSheild receives with its stated 16-bit length:
// the boxes it checks, by the rules written out plainly, and the mask the
// boxes give back.
#include <string>

#include "core/status/shield_mask.h"
#include "fuzz_input.h"

namespace {

t740::ShieldBoxes ExpectedBoxes(std::string_view mask, int32_t statedLength) {
  t740::ShieldBoxes boxes;
  if (statedLength != static_cast<int64_t>(mask.size()) || (statedLength == 0 && mask.empty())) {
    return boxes;
  }
  boxes.selectAll = true;
  for (size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '0') boxes.selectAll = false;
    if (i < boxes.rows.size()) boxes.rows[i] = mask[i] == '1';
  }
  return boxes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const bool matching = input.Flag();
  const int16_t stated = input.Int16();
  const std::string_view mask = input.Rest();
  // The host passes its 16-bit length widened with its sign; most runs give
  // the true length so that the boxes are set.
  const int32_t length = matching ? static_cast<int16_t>(mask.size()) : stated;

  const t740::ShieldBoxes boxes = t740::ShieldBoxesFromMask(mask, length);
  const t740::ShieldBoxes expected = ExpectedBoxes(mask, length);
  FUZZ_CHECK(boxes.selectAll == expected.selectAll);
  FUZZ_CHECK(boxes.rows == expected.rows);

  const std::string result = t740::BuildShieldMask(boxes.rows);
  FUZZ_CHECK(result.size() == static_cast<size_t>(t740::kShieldRowCount));
  FUZZ_CHECK(result.find_first_not_of("01") == std::string::npos);
  for (size_t i = 0; i < result.size(); ++i) FUZZ_CHECK((result[i] == '1') == boxes.rows[i]);
  return 0;
}
