// The card address text the host hands over: its two identifier fields,
// the identifiers built from them, and the port pair of the threshold pages.
#include <string>

#include "core/card/card_address.h"
#include "core/thresholds/port_pair.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const bool write = input.Flag();
  const std::string_view address = input.Rest();

  const t740::IdentifierFields fields = t740::SplitCardAddress(address);
  if (address.size() == 4) {
    FUZZ_CHECK(fields.first == address.substr(0, 2));
    FUZZ_CHECK(fields.second == address.substr(2, 2));
  } else {
    FUZZ_CHECK(fields.first == "0" + std::string(address.substr(0, 1)));
    FUZZ_CHECK(fields.second == (address.size() > 1 ? address.substr(1, 2) : ""));
  }

  const auto operation = write ? t740::Operation::Write : t740::Operation::Read;
  const std::string oid = t740::BuildCardOid(address, operation, ".12");
  FUZZ_CHECK(oid == std::string("1.3.6.1.4.1.47291.2.1.1") + (write ? ".85.2." : ".85.1.") +
                        fields.first + "." + fields.second + ".12");

  const std::string key = t740::PortPairKey(address);
  if (address.size() == 3 || address.size() == 4) {
    FUZZ_CHECK(key == fields.second);
  } else {
    FUZZ_CHECK(key.empty());
  }
  const t740::PortPair& ports = t740::PortPairOf(address);
  FUZZ_CHECK(ports.firstTab[0] == (key == "07" ? 'A' : 'C'));
  FUZZ_CHECK(ports.secondTab[0] == ports.firstTab[0] + 1);
  return 0;
}
