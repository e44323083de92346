// Where the host application keeps its remark files: beside its
// executable, or where the host says through the environment.
#ifndef T740_CORE_CARD_HOST_DIRECTORY_H
#define T740_CORE_CARD_HOST_DIRECTORY_H

#include <string>

namespace t740 {

// The variable a host whose executable sits in a read-only place sets to
// the directory that holds its "Devices".
inline constexpr char kHostDirectoryVariable[] = "T740_HOST_DIRECTORY";

// `directory` ending in "/" (one added when it lacks it); not empty.
std::string WithTrailingSlash(std::string directory);
// The directory of the running executable with its trailing "/", or empty
// when the system does not say.
std::string ExecutableDirectory();
// T740_HOST_DIRECTORY with its trailing "/", or empty when it is not set
// or empty.
std::string NamedHostDirectory();
// The named host directory, else the executable's directory.
std::string HostDirectory();

}  // namespace t740

#endif
