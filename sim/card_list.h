// The cards of a shelf as an operator lists them: card addresses and
// ranges of them, "0101-0116,0301". A range keeps its ends' width, so
// "0101-0103" is 0101, 0102 and 0103. Two addresses that the identifiers
// would name alike ("0103" and "13", both 1.3) are one card listed twice.
#ifndef T740_SIM_CARD_LIST_H
#define T740_SIM_CARD_LIST_H

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace t740::sim {

constexpr size_t kCardAddressMinimumDigits = 2;  // one digit leaves no second field
constexpr size_t kCardAddressMaximumDigits = 4;

class CardListError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// True for 2 to 4 decimal digits.
bool IsCardAddress(std::string_view text);

// The card addresses in the order listed; throws CardListError for an
// empty item, an address of other than 2 to 4 digits, a range whose ends
// differ in width or run backwards, and a card listed twice.
std::vector<std::string> ParseCardList(std::string_view text);

}  // namespace t740::sim

#endif
