#include "core/overhead/path_record.h"

#include <iterator>

#include "core/card/codecs.h"
#include "core/overhead/record_slice.h"
#include "core/overhead/upper_ascii.h"

namespace t740 {
namespace {

enum class FieldKind { Mode, Port, Vc4, Received, Sent, Reserved, G1 };

struct PathField {
  size_t offset;
  size_t length;
  FieldKind kind;
  std::string PathOverhead::*text;  // for received and sent fields
};

const PathField kPathFields[] = {
    {0, 2, FieldKind::Mode, nullptr},
    {2, 2, FieldKind::Port, nullptr},
    {4, 2, FieldKind::Vc4, nullptr},
    {6, 32, FieldKind::Received, &PathOverhead::j1Received},
    {38, 32, FieldKind::Sent, &PathOverhead::j1Expected},
    {70, 32, FieldKind::Sent, &PathOverhead::j1Send},
    {102, 2, FieldKind::Received, &PathOverhead::c2Received},
    {104, 2, FieldKind::Sent, &PathOverhead::c2Expected},
    {106, 2, FieldKind::Sent, &PathOverhead::c2Send},
    {108, 2, FieldKind::Reserved, nullptr},
    {110, 2, FieldKind::Sent, &PathOverhead::k3Send},
    {112, 2, FieldKind::G1, nullptr},
    {114, 2, FieldKind::Sent, &PathOverhead::n1Send},
};

constexpr const char kG1Normal[] = "00";
constexpr const char kG1RemoteDefect[] = "08";

struct LengthCheck {
  std::string PathOverhead::*text;
  size_t length;
  const char* message;
};

const LengthCheck kLengthChecks[] = {
    {&PathOverhead::j1Expected, 32,
     "J1\xC6\xDA\xCD\xFB\xBD\xD3\xCA\xD5\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "32\xCE\xBB!" /* J1期望接收值长度不是32位! */},
    {&PathOverhead::c2Expected, 2,
     "C2\xC6\xDA\xCD\xFB\xBD\xD3\xCA\xD5\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "2\xCE\xBB!" /* C2期望接收值长度不是2位! */},
    {&PathOverhead::j1Send, 32,
     "J1\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "32\xCE\xBB!" /* J1发送值长度不是32位! */},
    {&PathOverhead::c2Send, 2,
     "C2\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "2\xCE\xBB!" /* C2发送值长度不是2位! */},
    {&PathOverhead::k3Send, 2,
     "K3\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "2\xCE\xBB!" /* K3发送值长度不是2位! */},
    {&PathOverhead::n1Send, 2,
     "N1\xB7\xA2\xCB\xCD\xD6\xB5\xB3\xA4\xB6\xC8\xB2\xBB\xCA\xC7"
     "2\xCE\xBB!" /* N1发送值长度不是2位! */},
};

const char* const kListPositions[] = {"00", "01", "02"};
constexpr const char kOtherListPosition[] = "03";

int ListPositionOf(std::string_view text) {
  const int position = AtoiOf(text);
  return position >= 0 && position < kPathListLength ? position : kNoListPosition;
}

// A received value as held when it has its full width, else zeros.
std::string FullWidth(std::string_view text, size_t length) {
  return text.size() == length ? UpperAscii(text) : std::string(length, '0');
}

const char* FirstLengthError(const PathOverhead& values) {
  for (const LengthCheck& check : kLengthChecks) {
    if ((values.*check.text).size() != check.length) return check.message;
  }
  return nullptr;
}

std::string EncodeField(const PathField& field, std::string_view mode, const PathOverhead& values) {
  switch (field.kind) {
    case FieldKind::Mode:
      return std::string(mode);
    case FieldKind::Port:
      return EncodeListPosition(values.port);
    case FieldKind::Vc4:
      return EncodeListPosition(values.vc4);
    case FieldKind::Received:
      return FullWidth(values.*field.text, field.length);
    case FieldKind::Sent:
      return UpperAscii(values.*field.text);
    case FieldKind::Reserved:
      return std::string(field.length, '0');
    case FieldKind::G1:
      return values.g1RemoteDefect ? kG1RemoteDefect : kG1Normal;
  }
  return std::string();
}

void DecodeField(const PathField& field, std::string_view data, PathOverhead& values) {
  const std::string slice = SliceOf(data, field.offset, field.length);
  switch (field.kind) {
    case FieldKind::Mode:
    case FieldKind::Reserved:
      break;
    case FieldKind::Port:
      values.port = ListPositionOf(slice);
      break;
    case FieldKind::Vc4:
      values.vc4 = ListPositionOf(slice);
      break;
    case FieldKind::Received:
    case FieldKind::Sent:
      values.*field.text = slice;
      break;
    case FieldKind::G1:
      values.g1RemoteDefect = slice != kG1Normal;
      break;
  }
}

}  // namespace

std::string EncodeListPosition(int position) {
  const int known = static_cast<int>(std::size(kListPositions));
  return position >= 0 && position < known ? kListPositions[position] : kOtherListPosition;
}

PathOverhead ParsePathRecord(std::string_view data) {
  PathOverhead values;
  for (const PathField& field : kPathFields) DecodeField(field, data, values);
  return values;
}

std::optional<std::string> BuildPathRecord(std::string_view mode, bool validate,
                                           const PathOverhead& values, MessageSink& messages) {
  if (validate) {
    if (const char* message = FirstLengthError(values)) {
      messages.ShowMessage(message);
      return std::nullopt;
    }
  }
  std::string record;
  record.reserve(kPathRecordLength);
  for (const PathField& field : kPathFields) record += EncodeField(field, mode, values);
  return record;
}

}  // namespace t740
