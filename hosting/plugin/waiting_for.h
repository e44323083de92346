// What the host is waiting for at this moment (the card's answer to a
// request, a status text), so that a run ended by its time limit can say.
#ifndef T740_HOSTING_PLUGIN_WAITING_FOR_H
#define T740_HOSTING_PLUGIN_WAITING_FOR_H

#include <string>

namespace t740::host {

// Names what the host waits for while it lives. Any thread.
class Waiting {
 public:
  explicit Waiting(std::string what);
  ~Waiting();
  Waiting(const Waiting&) = delete;
  Waiting& operator=(const Waiting&) = delete;

 private:
  size_t id_;
};

// The newest wait still going on; empty when there is none.
std::string WaitingForNow();

}  // namespace t740::host

#endif
