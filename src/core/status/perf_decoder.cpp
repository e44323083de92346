#include "core/status/perf_decoder.h"

#include <algorithm>
#include <cstring>

#include "core/card/codecs.h"

namespace t740 {
namespace {

struct CounterGroup {
  char name;
  int fields;
};
// Regenerator section, multiplex section, far-end multiplex section,
// higher-order path (with the two pointer justifications), far-end path.
constexpr CounterGroup kCounterGroups[] = {{'O', 5}, {'P', 5}, {'Q', 5}, {'R', 7}, {'S', 5}};
constexpr size_t kCounterWidth = 4;
constexpr int kFieldCount = 5;

struct Area {
  size_t start;
  size_t length;
};
// Record areas: F1 and F5 carry a count before theirs.
constexpr Area kCountedArea = {10, 896};
constexpr Area kPlainArea = {4, 896};

const CText& LabelAC() {
  static const CText label("A/C\xB9\xE2\xBF\xDA" /* A/C光口 */);
  return label;
}
const CText& LabelBD() {
  static const CText label("B/D\xB9\xE2\xBF\xDA" /* B/D光口 */);
  return label;
}

std::string_view Slice(std::string_view text, size_t start, size_t length) {
  if (start >= text.size()) return {};
  return text.substr(start, length);
}

std::string_view AreaOf(std::string_view field, Area area) {
  return Slice(field, area.start, area.length);
}

// Record r of an area; a negative or distant record is empty.
std::string_view RecordOf(std::string_view area, long long r) {
  if (r < 0 || r > static_cast<long long>(area.size() / kPerfRecordLength)) return {};
  return Slice(area, static_cast<size_t>(r) * kPerfRecordLength, kPerfRecordLength);
}

// Field k ends at the k-th comma; false when there are fewer than five.
bool SplitFields(std::string_view data, std::string_view (&fields)[kFieldCount]) {
  size_t start = 0;
  for (std::string_view& field : fields) {
    const size_t comma = data.find(',', start);
    if (comma == std::string_view::npos) return false;
    field = data.substr(start, comma - start);
    start = comma + 1;
  }
  return true;
}

class EntryWriter {
 public:
  EntryWriter(CText* texts, CText* labels) : texts_(texts), labels_(labels) {}

  // Writes the pair of entry r: A/C first, then B/D. Entries past the 22 of
  // a half are never written, whatever the count said.
  void WritePair(long long r, std::string_view recordAC, std::string_view recordBD) {
    if (r < 0 || r >= kPerfHalfEntries) return;
    Write(static_cast<int>(r), recordAC, LabelAC());
    Write(static_cast<int>(r) + kPerfHalfEntries, recordBD, LabelBD());
  }

 private:
  void Write(int entry, std::string_view record, const CText& label) {
    char buffer[kPerfFormattedMaximum];
    texts_[entry] = CText(buffer, FormatPerfRecord(record, buffer));
    labels_[entry] = label;
  }

  CText* texts_;
  CText* labels_;
};

void DecodeDay(const std::string_view (&fields)[kFieldCount], int16_t history, EntryWriter& out) {
  const int32_t n = AtoiOf(Slice(fields[4], 8, 2));
  const std::string_view area = AreaOf(fields[4], kCountedArea);
  if (history == 0) {
    out.WritePair(0, RecordOf(area, n), RecordOf(area, static_cast<long long>(n) + 3));
    return;
  }
  for (long long r = 0; r < std::min<long long>(n, kPerfHalfEntries); ++r) {
    out.WritePair(r, RecordOf(area, r), RecordOf(area, r + 3));
  }
}

void DecodeQuarter(const std::string_view (&fields)[kFieldCount], int16_t history,
                   EntryWriter& out) {
  const int32_t n = AtoiOf(Slice(fields[0], 6, 2));
  const std::string_view ac1 = AreaOf(fields[0], kCountedArea);
  const std::string_view ac2 = AreaOf(fields[1], kPlainArea);
  const std::string_view bd1 = AreaOf(fields[2], kPlainArea);
  const std::string_view bd2 = AreaOf(fields[3], kPlainArea);
  constexpr long long kFirstArea = 8;
  if (history == 0) {
    if (n < kFirstArea) {
      out.WritePair(0, RecordOf(ac1, n), RecordOf(bd1, n));
    } else {
      out.WritePair(0, RecordOf(ac2, n - kFirstArea), RecordOf(bd2, n - kFirstArea));
    }
    return;
  }
  const long long last = std::min<long long>(n, kPerfHalfEntries);
  for (long long r = 0; r < std::min(last, kFirstArea); ++r) {
    out.WritePair(r, RecordOf(ac1, r), RecordOf(bd1, r));
  }
  for (long long r = kFirstArea; r < last; ++r) {
    out.WritePair(r, RecordOf(ac2, r - kFirstArea), RecordOf(bd2, r - kFirstArea));
  }
}

}  // namespace

size_t FormatPerfRecord(std::string_view record, char* out) {
  size_t length = 0;
  auto put = [&](std::string_view piece) {
    if (piece.empty()) return;
    std::memcpy(out + length, piece.data(), piece.size());
    length += piece.size();
  };
  size_t field = 0;
  for (const CounterGroup& group : kCounterGroups) {
    const char head[] = {group.name, '='};
    put(std::string_view(head, 2));
    for (int i = 0; i < group.fields; ++i, ++field) {
      if (i > 0) put(",");
      const char letter[] = {static_cast<char>('A' + i), ':'};
      put(std::string_view(letter, 2));
      put(Slice(record, field * kCounterWidth, kCounterWidth));
    }
    put(",;");
  }
  return length;
}

std::string FormatPerfRecord(std::string_view record) {
  char buffer[kPerfFormattedMaximum];
  return std::string(buffer, FormatPerfRecord(record, buffer));
}

bool PeriodWritesEntries(int16_t period) {
  return period == 15 || period == 24;
}

bool DecodePerformanceData(int16_t period, int16_t history, std::string_view data, CText* texts,
                           CText* labels) {
  std::string_view fields[kFieldCount];
  if (!SplitFields(data, fields)) return false;
  for (std::string_view field : fields) {
    if (field.size() < kPerfFieldMinimum) return false;
  }
  EntryWriter out(texts, labels);
  if (period == 24) DecodeDay(fields, history, out);
  if (period == 15) DecodeQuarter(fields, history, out);
  return true;
}

}  // namespace t740
