#include "sim/write_frame.h"

#include "sim/hex.h"

namespace t740::sim {
namespace {

struct ErrorText {
  WriteError error;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {WriteError::WrongHead, "ERROR: wrong set head"},
    {WriteError::WrongLength, "ERROR: wrong data length"},
    {WriteError::NotHex, "ERROR: data is not hex digits"},
    {WriteError::UnknownMode, "ERROR: unknown mode"},
    {WriteError::NoSuchChannel, "ERROR: no such port or VC4"},
    {WriteError::ReadOnlyGroup, "ERROR: group is read-only"},
    {WriteError::NoSuchGroup, "ERROR: no such group"},
    {WriteError::ReadArc, "ERROR: write on the read arc"},
};

}  // namespace

const char* WriteErrorText(WriteError error) {
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.error == error) return entry.text;
  }
  return "ERROR";
}

WriteResult CheckWriteFrame(std::string_view value, std::string_view head, size_t dataLength) {
  if (value.substr(0, kHeadLength) != head) return WriteError::WrongHead;
  if (value.size() != kHeadLength + dataLength) return WriteError::WrongLength;
  return std::nullopt;
}

WriteResult CheckHexData(std::string_view data) {
  if (!IsHexText(data)) return WriteError::NotHex;
  return std::nullopt;
}

}  // namespace t740::sim
