// The 54 thresholds of one port: monitored layer, period and counter of
// each, and the edit that shows it on a threshold page.
#ifndef T740_CORE_THRESHOLDS_THRESHOLD_TABLE_H
#define T740_CORE_THRESHOLDS_THRESHOLD_TABLE_H

#include <array>
#include <string>
#include <string_view>

namespace t740 {

constexpr int kPortThresholds = 54;
constexpr int kThresholdValues = 2 * kPortThresholds;
constexpr int kLayerCount = 5;
constexpr int kPeriodCount = 2;
constexpr int kCounterCount = 7;

struct ThresholdSlot {
  int editId;
  int layer;    // regenerator section, multiplex section, far-end multiplex
                // section, higher-order path, far-end higher-order path
  int period;   // 15 minutes, 24 hours
  int counter;  // EB, BBE, ES, SES, UAS, PJ+, PJ-
};

// The slots in data order, index 0 to 53 of a port block.
const std::array<ThresholdSlot, kPortThresholds>& ThresholdSlots();

// GBK words of the pages and messages.
const char* LayerWord(int layer);
const char* LayerCaption(int layer);  // the group box caption
const char* PeriodWord(int period);
const char* CounterWord(int counter);
int CountersOfLayer(int layer);

// "<prefix><layer>,<period>,<counter>输入必须为 0 -- 65535 之间整数".
std::string ThresholdMessage(std::string_view portPrefix, int index);

}  // namespace t740

#endif
