// The remark file as the page reads it: the first line of whatever the file
// holds, cut into at most 100 fields at each ",", and the file name built
// from the host's IP and card address texts, which must stay a single name
// inside "Devices". Remarks the page may store come back as they went.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/console/remark_file.h"
#include "fuzz_input.h"

namespace {

std::vector<std::string> ExpectedFields(std::string_view line) {
  std::vector<std::string> fields;
  std::string field;
  for (char c : line) {
    if (fields.size() == t740::kRemarkFieldLimit) break;
    if (c == ',') {
      fields.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  return fields;
}

// A scratch file that lives as long as the fuzzing process.
const std::string& ScratchFile() {
  static const std::string path = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/t740-remark-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    return pattern;
  }();
  return path;
}

void CheckFileRead(std::string_view content) {
  {
    std::ofstream file(ScratchFile(), std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  const t740::RemarkRead read = t740::ReadRemarkFile(ScratchFile());
  if (content.empty()) {
    FUZZ_CHECK(read.outcome == t740::RemarkReadOutcome::kReadFailed);
    return;
  }
  FUZZ_CHECK(read.outcome == t740::RemarkReadOutcome::kRead);
  std::string_view line = content.substr(0, content.find('\n'));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  FUZZ_CHECK(read.fields == ExpectedFields(line));
}

void CheckRoundTrip(t740::fuzz::Input& input) {
  t740::PortRemarks remarks;
  bool storable = true;
  for (std::string& remark : remarks) {
    remark = std::string(input.ShortText());
    storable = storable && t740::IsStorableRemark(remark);
  }
  const std::string line = t740::JoinRemarkLine(remarks);
  if (!storable) return;
  const std::vector<std::string> fields = t740::SplitRemarkLine(line);
  FUZZ_CHECK(fields.size() == remarks.size());
  FUZZ_CHECK(std::equal(remarks.begin(), remarks.end(), fields.begin()));
}

void CheckPath(t740::fuzz::Input& input) {
  const std::string_view ip = input.ShortText();
  const std::string_view cardAddress = input.ShortText();
  const std::string hostDirectory = "/opt/host/";
  const auto path = t740::RemarkFilePath(hostDirectory, ip, cardAddress);
  const std::string name = std::string(ip) + std::string(cardAddress) + "t740_Remark.ini";
  const bool singleName = name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
  if (!path) {
    // Refused only for a text that could leave the directory.
    FUZZ_CHECK(!singleName || ip.find("..") != std::string_view::npos ||
               cardAddress.find("..") != std::string_view::npos);
    return;
  }
  FUZZ_CHECK(singleName);
  FUZZ_CHECK(*path == hostDirectory + "Devices/" + name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  switch (input.Byte() % 3) {
    case 0:
      CheckFileRead(input.Rest());
      break;
    case 1:
      CheckRoundTrip(input);
      break;
    case 2:
      CheckPath(input);
      break;
  }
  return 0;
}
