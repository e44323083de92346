#include "recording_transport.h"

#include <algorithm>

namespace t740::test {

std::ostream& operator<<(std::ostream& out, const Exchange& e) {
  return out << e.operation << " " << e.oid << " '" << e.value << "' '" << e.preset << "' -> '"
             << e.response << "'";
}

int RecordingTransport::Request(int operation, const CText& ip, const CText& oid, const CText& one,
                                const CText& value, CText* response) {
  const std::string preset(response->view());
  const auto start = Clock::now();
  const int result = inner_.Request(operation, ip, oid, one, value, response);
  const auto took = Clock::now() - start;
  std::lock_guard<std::mutex> lock(mutex_);
  longest_ = std::max(longest_, took);
  log_.push_back({operation, std::string(oid.view()), std::string(value.view()), preset,
                  std::string(response->view())});
  return result;
}

std::vector<Exchange> RecordingTransport::Log() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

std::vector<Exchange> RecordingTransport::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Exchange> taken;
  taken.swap(log_);
  return taken;
}

RecordingTransport::Clock::duration RecordingTransport::Longest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return longest_;
}

}  // namespace t740::test
