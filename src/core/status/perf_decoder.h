// Cuts the card's performance data into 108-character records and formats
// each for the host's performance display.
#ifndef T740_CORE_STATUS_PERF_DECODER_H
#define T740_CORE_STATUS_PERF_DECODER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "t740/abi.h"

namespace t740 {

constexpr size_t kPerfRecordLength = 108;
constexpr size_t kPerfFieldMinimum = 900;
// Entries from 0 hold ports A/C, from 22 ports B/D.
constexpr int kPerfHalfEntries = 22;
// The longest formatted record: the frame around 27 fields of 4 characters.
constexpr size_t kPerfFormattedMaximum = 256;

// Writes the labelled text of one record into `out` (room for
// kPerfFormattedMaximum bytes) and returns its length.
size_t FormatPerfRecord(std::string_view record, char* out);
std::string FormatPerfRecord(std::string_view record);

// Whether a request for `period` writes entries: only 15 (minutes) and 24
// (hours) do; any other period is answered with nothing.
bool PeriodWritesEntries(int16_t period);

// Returns false, writing nothing, when the data lacks five fields of 900
// characters; otherwise writes the requested entries of both halves (none,
// and the arrays may be null, for a period that writes no entries).
bool DecodePerformanceData(int16_t period, int16_t history, std::string_view data, CText* texts,
                           CText* labels);

}  // namespace t740

#endif
