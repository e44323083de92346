// net-snmp kept to itself: before the library starts, point everything it
// would read or write at a fresh temporary directory (no configuration
// files, no MIBs, no persistent state saved), and remove the directory at
// the end. One per process, created in the main thread before init_snmp.
#ifndef T740_PROTOCOL_SNMP_SANDBOX_H
#define T740_PROTOCOL_SNMP_SANDBOX_H

#include <string>

namespace t740::protocol {

class SnmpSandbox {
 public:
  // Throws std::runtime_error when no temporary directory can be made.
  SnmpSandbox();
  ~SnmpSandbox();
  SnmpSandbox(const SnmpSandbox&) = delete;
  SnmpSandbox& operator=(const SnmpSandbox&) = delete;

  const std::string& Directory() const { return directory_; }

 private:
  std::string directory_;
};

}  // namespace t740::protocol

#endif
