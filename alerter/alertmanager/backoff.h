#ifndef T740_ALERTER_ALERTMANAGER_BACKOFF_H
#define T740_ALERTER_ALERTMANAGER_BACKOFF_H

#include <chrono>
#include <random>

namespace t740::alerter {

// Delays between tries of one failed batch: doubling from `first` up to
// `last`, each drawn from its upper half so that alerters restarted together
// do not retry in step.
class Backoff {
 public:
  Backoff(std::chrono::milliseconds first, std::chrono::milliseconds last);

  std::chrono::milliseconds Next();
  void Reset();

 private:
  std::chrono::milliseconds first_;
  std::chrono::milliseconds last_;
  std::chrono::milliseconds current_;
  std::minstd_rand random_;
};

}  // namespace t740::alerter

#endif
