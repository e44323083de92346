// A straightforward transcription of the card's decoding rules, with bit
// texts built by concatenation: the yardstick the shipped decoders are
// measured against.
#ifndef T740_BENCH_BASELINE_DECODERS_H
#define T740_BENCH_BASELINE_DECODERS_H

#include <cstdint>
#include <string>

namespace baseline {

int GetWarning(int type, std::string status, int16_t* level, std::string* text);
int GetLedState(std::string status, int16_t* count, std::string* states);
int GetPerformanceData(int16_t period, int16_t history, std::string data, std::string* texts,
                       std::string* labels);

}  // namespace baseline

#endif
