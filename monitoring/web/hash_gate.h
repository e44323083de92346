// How many password hashes run at once, and how long a request waits for
// its turn: a bcrypt hash takes a core for tens of milliseconds, so a flood
// of wrong passwords would otherwise take every core from the probes.
#ifndef T740_MONITORING_WEB_HASH_GATE_H
#define T740_MONITORING_WEB_HASH_GATE_H

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace t740::monitoring {

class HashGate {
 public:
  HashGate(int places, std::chrono::milliseconds longestWait)
      : free_(places), longestWait_(longestWait) {}

  // Holds a place for its life, when one came free in time.
  class Pass {
   public:
    explicit Pass(HashGate& gate);
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    bool Held() const { return held_; }

   private:
    HashGate& gate_;
    bool held_;
  };

 private:
  std::mutex mutex_;
  std::condition_variable freed_;
  int free_;
  const std::chrono::milliseconds longestWait_;
};

}  // namespace t740::monitoring

#endif
