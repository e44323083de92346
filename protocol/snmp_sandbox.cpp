#include "protocol/snmp_sandbox.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace t740::protocol {
namespace {

std::string MakeTemporaryDirectory() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  std::string pattern = (base / "t740-snmp-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    throw std::runtime_error("cannot make a temporary directory in " + base.string());
  }
  return pattern;
}

struct LibraryFlag {
  int id;
  const char* meaning;
};

// What each flag keeps the library from doing.
constexpr LibraryFlag kLibraryFlags[] = {
    {NETSNMP_DS_LIB_DONT_READ_CONFIGS, "read snmp.conf and the like"},
    {NETSNMP_DS_LIB_DONT_PERSIST_STATE, "load or save persistent state"},
    {NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, "load the persistent file"},
    {NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, "save the persistent file"},
    {NETSNMP_DS_LIB_DONT_LOAD_HOST_FILES, "read hosts/*.conf"},
    {NETSNMP_DS_LIB_NO_TOKEN_WARNINGS, "warn of tokens it never reads"},
};

}  // namespace

SnmpSandbox::SnmpSandbox() : directory_(MakeTemporaryDirectory()) {
  for (const LibraryFlag& flag : kLibraryFlags) {
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, flag.id, 1);
  }
  const char* directory = directory_.c_str();
  netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, directory);
  netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_CONFIGURATION_DIR, directory);
  netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_MIBDIRS, directory);
  // The environment's say wins over the defaults for these; an empty MIBS
  // loads no MIB module.
  setenv("SNMPCONFPATH", directory, 1);
  setenv("SNMP_PERSISTENT_DIR", directory, 1);
  setenv("MIBDIRS", directory, 1);
  setenv("MIBS", "", 1);
  unsetenv("MIBFILES");
}

SnmpSandbox::~SnmpSandbox() {
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

}  // namespace t740::protocol
