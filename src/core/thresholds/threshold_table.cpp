#include "core/thresholds/threshold_table.h"

#include <iterator>

#include "ids/threshold_page_ids.h"

namespace t740 {
namespace {

const char* const kLayerWords[kLayerCount] = {
    "\xD4\xD9\xC9\xFA\xB6\xCE" /* 再生段 */,
    "\xB8\xB4\xD3\xC3\xB6\xCE" /* 复用段 */,
    "\xB6\xD4\xB6\xCB\xB8\xB4\xD3\xC3\xB6\xCE" /* 对端复用段 */,
    "\xB8\xDF\xBD\xD7\xCD\xA8\xB5\xC0" /* 高阶通道 */,
    "\xB6\xD4\xB6\xCB\xB8\xDF\xBD\xD7\xCD\xA8\xB5\xC0" /* 对端高阶通道 */,
};
const char* const kLayerCaptions[kLayerCount] = {
    "\xD4\xD9\xC9\xFA\xB6\xCE\xD0\xD4\xC4\xDC\xC3\xC5\xCF\xDE\xD6\xB5" /* 再生段性能门限值 */,
    "\xB8\xB4\xD3\xC3\xB6\xCE\xD0\xD4\xC4\xDC\xC3\xC5\xCF\xDE\xD6\xB5" /* 复用段性能门限值 */,
    "\xB6\xD4\xB6\xCB\xB8\xB4\xD3\xC3\xB6\xCE\xD0\xD4\xC4\xDC\xC3\xC5\xCF\xDE\xD6\xB5"
    /* 对端复用段性能门限值 */,
    "\xB8\xDF\xBD\xD7\xCD\xA8\xB5\xC0\xD0\xD4\xC4\xDC\xC3\xC5\xCF\xDE\xD6\xB5"
    /* 高阶通道性能门限值 */,
    "\xB6\xD4\xB6\xCB\xB8\xDF\xBD\xD7\xCD\xA8\xB5\xC0\xD0\xD4\xC4\xDC\xC3\xC5\xCF\xDE\xD6\xB5"
    /* 对端高阶通道性能门限值 */,
};
const char* const kPeriodWords[kPeriodCount] = {
    "15\xB7\xD6\xD6\xD3" /* 15分钟 */,
    "24\xD0\xA1\xCA\xB1" /* 24小时 */,
};
const char* const kCounterWords[kCounterCount] = {
    "\xCE\xF3\xC2\xEB\xBF\xE9" /* 误码块 */,
    "\xB1\xB3\xBE\xB0\xCE\xF3\xC2\xEB\xBF\xE9" /* 背景误码块 */,
    "\xCE\xF3\xC2\xEB\xC3\xEB" /* 误码秒 */,
    "\xD1\xCF\xD6\xD8\xCE\xF3\xC2\xEB\xC3\xEB" /* 严重误码秒 */,
    "\xB2\xBB\xBF\xC9\xD3\xC3\xC3\xEB" /* 不可用秒 */,
    "\xD5\xFD\xD6\xB8\xD5\xEB\xB5\xF7\xD5\xFB" /* 正指针调整 */,
    "\xB8\xBA\xD6\xB8\xD5\xEB\xB5\xF7\xD5\xFB" /* 负指针调整 */,
};
const char kRangeText[] =
    "\xCA\xE4\xC8\xEB\xB1\xD8\xD0\xEB\xCE\xAA 0 -- 65535 \xD6\xAE\xBC\xE4\xD5\xFB\xCA\xFD"
    /* 输入必须为 0 -- 65535 之间整数 */;

static_assert(std::size(ids::threshold_page::kEdits) == kPortThresholds);

constexpr int kHigherOrderPath = 3;

std::array<ThresholdSlot, kPortThresholds> BuildSlots() {
  std::array<ThresholdSlot, kPortThresholds> slots{};
  int index = 0;
  for (int layer = 0; layer < kLayerCount; ++layer) {
    for (int period = 0; period < kPeriodCount; ++period) {
      for (int counter = 0; counter < CountersOfLayer(layer); ++counter, ++index) {
        slots[index] = ThresholdSlot{ids::threshold_page::kEdits[index], layer, period, counter};
      }
    }
  }
  return slots;
}

}  // namespace

int CountersOfLayer(int layer) {
  return layer == kHigherOrderPath ? 7 : 5;
}

const std::array<ThresholdSlot, kPortThresholds>& ThresholdSlots() {
  static const auto slots = BuildSlots();
  return slots;
}

const char* LayerWord(int layer) {
  return kLayerWords[layer];
}
const char* LayerCaption(int layer) {
  return kLayerCaptions[layer];
}
const char* PeriodWord(int period) {
  return kPeriodWords[period];
}
const char* CounterWord(int counter) {
  return kCounterWords[counter];
}

std::string ThresholdMessage(std::string_view portPrefix, int index) {
  const ThresholdSlot& slot = ThresholdSlots()[index];
  std::string message(portPrefix);
  message += LayerWord(slot.layer);
  message += ',';
  message += PeriodWord(slot.period);
  message += ',';
  message += CounterWord(slot.counter);
  message += kRangeText;
  return message;
}

}  // namespace t740
