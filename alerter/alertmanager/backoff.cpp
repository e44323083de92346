#include "alerter/alertmanager/backoff.h"

#include <algorithm>

namespace t740::alerter {

Backoff::Backoff(std::chrono::milliseconds first, std::chrono::milliseconds last)
    : first_(first),
      last_(std::max(first, last)),
      current_(first),
      random_(std::random_device()()) {}

std::chrono::milliseconds Backoff::Next() {
  const auto ceiling = current_.count();
  std::uniform_int_distribution<long long> draw(ceiling / 2, ceiling);
  current_ = std::min(current_ * 2, last_);
  return std::chrono::milliseconds(draw(random_));
}

void Backoff::Reset() {
  current_ = first_;
}

}  // namespace t740::alerter
