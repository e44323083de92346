// What each row of the shielding list shows before the host's level list
// is applied: a number, and for the card's sixteen alarm types a default
// level and their alarm text.
#ifndef T740_CORE_STATUS_SHIELD_ROWS_H
#define T740_CORE_STATUS_SHIELD_ROWS_H

#include <string>

namespace t740 {

// Three spaces and the row number counted from 1.
std::string ShieldRowNumber(int row);
// GBK texts; empty for rows past the sixteen alarm types.
const char* DefaultShieldLevel(int row);
const char* ShieldRowDescription(int row);

}  // namespace t740

#endif
