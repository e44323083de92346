#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "host/commands/host_main.h"

int main(int argc, char** argv) {
  // The terminal's encoding comes from the environment's locale.
  std::setlocale(LC_ALL, "");
  return t740::host::RunHost(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
