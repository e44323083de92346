// SIGTERM and SIGINT as something the agent's event loop can wait for: the
// handlers write into a pipe whose read end the loop watches.
#ifndef T740_SIM_AGENT_STOP_SIGNAL_H
#define T740_SIM_AGENT_STOP_SIGNAL_H

namespace t740::sim {

class StopSignal {
 public:
  // Installs the handlers; throws std::runtime_error when it cannot.
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // Readable once a stop signal has arrived.
  int Descriptor() const;
};

}  // namespace t740::sim

#endif
