#include "sim/request_binding.h"

#include <shared_mutex>

#include "sim/simulated_card.h"

namespace t740::sim {
namespace {

// Calls hold the lock shared for their whole length, so a card is never
// unbound (and destroyed) under a call.
std::shared_mutex bindingMutex;
SimulatedCard* boundCard = nullptr;

int BoundRequest(int operation, CText ip, CText oid, CText one, CText value, CText* response) {
  std::shared_lock<std::shared_mutex> lock(bindingMutex);
  if (!boundCard) {
    if (response) *response = CText();
    return 0;
  }
  return boundCard->Request(operation, ip, oid, one, value, response);
}

}  // namespace

RequestFunction BindRequestFunction(SimulatedCard& card) {
  std::unique_lock<std::shared_mutex> lock(bindingMutex);
  boundCard = &card;
  return &BoundRequest;
}

void UnbindRequestFunction(SimulatedCard& card) {
  std::unique_lock<std::shared_mutex> lock(bindingMutex);
  if (boundCard == &card) boundCard = nullptr;
}

}  // namespace t740::sim
