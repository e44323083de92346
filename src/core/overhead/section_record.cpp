#include "core/overhead/section_record.h"

#include "core/overhead/record_slice.h"
#include "core/overhead/upper_ascii.h"

namespace t740 {
namespace {

struct BlockField {
  size_t offset;
  size_t length;
  std::string SectionDirection::*text;
  bool sent;  // false: the card's received value, sent back as zeros
};

// In block order; the reserved ten characters follow.
const BlockField kBlockFields[] = {
    {0, 32, &SectionDirection::j0Received, false}, {32, 32, &SectionDirection::j0Expected, true},
    {64, 32, &SectionDirection::j0Send, true},     {96, 2, &SectionDirection::k1Received, false},
    {98, 2, &SectionDirection::k1Send, true},      {100, 2, &SectionDirection::k2Received, false},
    {102, 2, &SectionDirection::k2Send, true},     {104, 2, &SectionDirection::s1Received, false},
    {106, 2, &SectionDirection::s1Send, true},     {108, 2, &SectionDirection::z0Send, true},
};
constexpr size_t kReservedLength = 10;

struct LengthCheck {
  std::string SectionDirection::*text;
  size_t length;
  const char* message;  // follows the direction's letter
};

const LengthCheck kLengthChecks[] = {
    {&SectionDirection::j0Expected, 32,
     "\xB7\xBD\xCF\xF2 J0\xC6\xDA\xCD\xFB\xBD\xD3\xCA\xD5\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "32\xCE\xBB!" /* 方向 J0期望接收值长度不是32位! */},
    {&SectionDirection::j0Send, 32,
     "\xB7\xBD\xCF\xF2 J0\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "32\xCE\xBB!" /* 方向 J0发送值长度不是32位! */},
    {&SectionDirection::k1Send, 2,
     "\xB7\xBD\xCF\xF2 k1\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "2\xCE\xBB!" /* 方向 k1发送值长度不是2位! */},
    {&SectionDirection::k2Send, 2,
     "\xB7\xBD\xCF\xF2 k2\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "2\xCE\xBB!" /* 方向 k2发送值长度不是2位! */},
    {&SectionDirection::s1Send, 2,
     "\xB7\xBD\xCF\xF2 S1\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "2\xCE\xBB!" /* 方向 S1发送值长度不是2位! */},
    {&SectionDirection::z0Send, 2,
     "\xB7\xBD\xCF\xF2 Z0\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "2\xCE\xBB!" /* 方向 Z0发送值长度不是2位! */},
};

// The message of the first value of the direction with a wrong length.
std::optional<std::string> CheckDirection(const SectionDirection& values, size_t direction) {
  for (const LengthCheck& check : kLengthChecks) {
    if ((values.*check.text).size() != check.length) {
      return std::string(1, DirectionLetter(direction)) + check.message;
    }
  }
  return std::nullopt;
}

void AppendBlock(const SectionDirection& values, std::string& record) {
  for (const BlockField& field : kBlockFields) {
    record += field.sent ? UpperAscii(values.*field.text) : std::string(field.length, '0');
  }
  record.append(kReservedLength, '0');
}

}  // namespace

char DirectionLetter(size_t direction) {
  return static_cast<char>('A' + direction);
}

SectionDirections ParseSectionRecord(std::string_view data) {
  SectionDirections directions;
  for (size_t d = 0; d < kSectionDirectionCount; ++d) {
    const size_t block = d * kSectionBlockLength;
    for (const BlockField& field : kBlockFields) {
      directions[d].*field.text = SliceOf(data, block + field.offset, field.length);
    }
  }
  return directions;
}

std::optional<std::string> BuildSectionRecord(const SectionDirections& directions,
                                              MessageSink& messages) {
  std::string record;
  record.reserve(kSectionRecordLength);
  for (size_t d = 0; d < kSectionDirectionCount; ++d) {
    if (const auto message = CheckDirection(directions[d], d)) {
      messages.ShowMessage(*message);
      return std::nullopt;
    }
    AppendBlock(directions[d], record);
  }
  return record;
}

}  // namespace t740
