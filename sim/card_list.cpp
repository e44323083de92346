#include "sim/card_list.h"

#include <map>
#include <utility>

#include "protocol/identifier.h"

namespace t740::sim {
namespace {

std::vector<std::string_view> Items(std::string_view text) {
  std::vector<std::string_view> items;
  size_t start = 0;
  for (size_t comma = text.find(',');; comma = text.find(',', start)) {
    items.push_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return items;
}

std::string Checked(std::string_view address) {
  if (!IsCardAddress(address)) {
    throw CardListError("'" + std::string(address) + "' is not a card address of 2 to 4 digits");
  }
  return std::string(address);
}

void AppendRange(std::string_view item, size_t dash, std::vector<std::string>& cards) {
  const std::string first = Checked(item.substr(0, dash));
  const std::string last = Checked(item.substr(dash + 1));
  if (first.size() != last.size() || std::stoul(first) > std::stoul(last)) {
    throw CardListError("'" + std::string(item) +
                        "' is no range: its ends must have the same width, the first no higher");
  }
  for (unsigned long n = std::stoul(first); n <= std::stoul(last); ++n) {
    std::string address = std::to_string(n);
    cards.push_back(std::string(first.size() - address.size(), '0') + address);
  }
}

// The arcs an identifier names the card by.
std::pair<unsigned long, unsigned long> ArcsOf(const std::string& address) {
  const protocol::AddressFields fields = protocol::FieldsOfCardAddress(address);
  return {std::stoul(fields.first), std::stoul(fields.second)};
}

void RefuseRepeats(const std::vector<std::string>& cards) {
  std::map<std::pair<unsigned long, unsigned long>, std::string> seen;
  for (const std::string& card : cards) {
    const auto [at, fresh] = seen.emplace(ArcsOf(card), card);
    if (fresh) continue;
    throw CardListError(at->second == card
                            ? "card " + card + " is listed twice"
                            : "cards " + at->second + " and " + card + " are the same card");
  }
}

}  // namespace

bool IsCardAddress(std::string_view text) {
  if (text.size() < kCardAddressMinimumDigits || text.size() > kCardAddressMaximumDigits) {
    return false;
  }
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::vector<std::string> ParseCardList(std::string_view text) {
  std::vector<std::string> cards;
  for (std::string_view item : Items(text)) {
    const size_t dash = item.find('-');
    if (dash == std::string_view::npos) {
      cards.push_back(Checked(item));
    } else {
      AppendRange(item, dash, cards);
    }
  }
  RefuseRepeats(cards);
  return cards;
}

}  // namespace t740::sim
