#!/bin/sh
# The public header stops a build below C++17 with its own message, and
# builds cleanly from C++17 on.
# Usage: header_standard.sh <c++ compiler> <include directory>
set -eu
compiler=$1
include=$2
log=$(mktemp /tmp/t740-header-XXXXXX)
trap 'rm -f "$log"' EXIT
compile() {
  printf '#include <t740/abi.h>\nint main() { return T740_ABI_VERSION_MAJOR - 1 + T740_ABI_VERSION_MINOR * 0; }\n' |
    "$compiler" -std="$1" -Wall -Wextra -Werror -pedantic -fsyntax-only -x c++ -I"$include" - \
      >"$log" 2>&1
}
for standard in c++11 c++14; do
  if compile "$standard"; then
    echo "t740/abi.h compiled with -std=$standard"
    exit 1
  fi
  grep -q 't740/abi.h needs C++17 or later' "$log" || {
    cat "$log"
    echo "-std=$standard failed without the header's message"
    exit 1
  }
done
for standard in c++17 c++20; do
  compile "$standard" || {
    cat "$log"
    echo "t740/abi.h does not compile with -std=$standard"
    exit 1
  }
done
