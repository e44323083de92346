#include "core/status/alarm_table.h"

namespace t740 {
namespace {

// 光口 = optical port; bits count from the most significant bit of port A's byte.
#define T740_PORT "\xB9\xE2\xBF\xDA"
const AlarmType kAlarmTypes[kAlarmTypeCount] = {
    {T740_PORT "A:RS-TIM", 2, 5},    {T740_PORT "A:STM-LOS", 5, -1},
    {T740_PORT "A:STM-LOF", 6, 5},   {T740_PORT "A:RS-OOF", 7, 5},
    {T740_PORT "B:RS-TIM", 10, 13},  {T740_PORT "B:STM-LOS", 13, -1},
    {T740_PORT "B:STM-LOF", 14, 13}, {T740_PORT "B:RS-OOF", 15, 13},
    {T740_PORT "C:RS-TIM", 18, 21},  {T740_PORT "C:STM-LOS", 21, -1},
    {T740_PORT "C:STM-LOF", 22, 21}, {T740_PORT "C:RS-OOF", 23, 21},
    {T740_PORT "D:RS-TIM", 26, 29},  {T740_PORT "D:STM-LOS", 29, -1},
    {T740_PORT "D:STM-LOF", 30, 29}, {T740_PORT "D:RS-OOF", 31, 29},
};
#undef T740_PORT

}  // namespace

const AlarmType* FindAlarmType(int type) {
  if (type < 1 || type > kAlarmTypeCount) return nullptr;
  return &kAlarmTypes[type - 1];
}

}  // namespace t740
