// The cards in a Prometheus file service discovery document, as t740-sim
// --targets-file writes it and Prometheus reads it:
//
//   [{"targets": ["127.0.0.2:1161"], "labels": {"card": "0103", "auth": "noc_v3"}}, ...]
//
// each target an IPv4 agent with an optional port (161), each group a card
// address in its "card" label and optionally an auth in "auth".
#ifndef T740_ALERTER_CARDS_TARGETS_DOCUMENT_H
#define T740_ALERTER_CARDS_TARGETS_DOCUMENT_H

#include <stdexcept>
#include <string>
#include <vector>

#include "alerter/cards/card_target.h"

namespace t740::alerter {

class TargetsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws TargetsError saying what is wrong and where.
std::vector<CardTarget> ParseTargetsDocument(const std::string& text);

}  // namespace t740::alerter

#endif
