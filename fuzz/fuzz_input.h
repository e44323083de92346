// What the fuzz targets share: a reader that takes choices and texts from
// the fuzzer's bytes, and a check that stops the run at a broken rule with
// the rule's text, so that libFuzzer keeps the input as a finding.
#ifndef T740_FUZZ_FUZZ_INPUT_H
#define T740_FUZZ_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace t740::fuzz {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  // 0 once the bytes are used up.
  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }
  bool Flag() { return (Byte() & 1) != 0; }
  int16_t Int16() { return static_cast<int16_t>(Byte() | (Byte() << 8)); }
  int32_t Int32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= uint32_t{Byte()} << (8 * i);
    return static_cast<int32_t>(value);
  }
  // A text of up to 255 bytes, its length given by the byte before it.
  std::string_view ShortText() { return Take(Byte()); }
  std::string_view Take(size_t length) {
    const std::string_view taken = rest_.substr(0, length);
    rest_.remove_prefix(taken.size());
    return taken;
  }
  std::string_view Rest() { return Take(rest_.size()); }

 private:
  std::string_view rest_;
};

[[noreturn]] inline void Fail(const char* rule, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, rule);
  std::abort();
}

}  // namespace t740::fuzz

#define FUZZ_CHECK(rule) \
  ((rule) ? static_cast<void>(0) : ::t740::fuzz::Fail(#rule, __FILE__, __LINE__))

#endif
