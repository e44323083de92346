// A failure that ends a command with exit status 1 and a message.
#ifndef T740_HOSTING_ERRORS_HOST_ERROR_H
#define T740_HOSTING_ERRORS_HOST_ERROR_H

#include <stdexcept>

namespace t740::host {

enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Bad arguments: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace t740::host

#endif
