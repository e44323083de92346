#include "x_display.h"

namespace t740::test {
namespace {

std::string& Reason() {
  static std::string reason;
  return reason;
}

}  // namespace

void SetNoDisplayReason(std::string reason) {
  Reason() = std::move(reason);
}

const std::string& NoDisplayReason() {
  return Reason();
}

}  // namespace t740::test
