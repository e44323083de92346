// A transport between the plug-in and another transport that notes each
// request, what the response held before and after it, and how long the
// longest one took: for tests that compare two roads to the card or that
// check the pages' messages against what really came back.
#ifndef T740_TESTS_SNMP_RECORDING_TRANSPORT_H
#define T740_TESTS_SNMP_RECORDING_TRANSPORT_H

#include <chrono>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "hosting/transport/transport.h"

namespace t740::test {

struct Exchange {
  int operation;
  std::string oid;
  std::string value;
  std::string preset;  // the response before the request
  std::string response;

  // The group of the oid, e.g. ".11".
  std::string Group() const { return oid.substr(oid.rfind('.')); }
  friend bool operator==(const Exchange& a, const Exchange& b) {
    return a.operation == b.operation && a.oid == b.oid && a.value == b.value &&
           a.preset == b.preset && a.response == b.response;
  }
};

std::ostream& operator<<(std::ostream& out, const Exchange& e);

class RecordingTransport : public host::Transport {
 public:
  using Clock = std::chrono::steady_clock;

  explicit RecordingTransport(host::Transport& inner) : inner_(inner) {}

  std::string Description() const override { return inner_.Description(); }
  int Request(int operation, const CText& ip, const CText& oid, const CText& one,
              const CText& value, CText* response) override;
  std::string FetchStatus(host::StatusText text, std::string_view ip,
                          std::string_view cardAddress) override {
    return inner_.FetchStatus(text, ip, cardAddress);
  }

  // The requests since the last Take (or since the start).
  std::vector<Exchange> Log() const;
  // The same, and forgets them.
  std::vector<Exchange> Take();
  Clock::duration Longest() const;

 private:
  host::Transport& inner_;
  mutable std::mutex mutex_;
  std::vector<Exchange> log_;
  Clock::duration longest_{};
};

}  // namespace t740::test

#endif
