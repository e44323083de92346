// Runs a fuzz target over files and directories of inputs, for builds
// without libFuzzer: the seed corpus and the kept findings become a test
// of every build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void RunFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

size_t RunPath(const std::filesystem::path& path) {
  if (!std::filesystem::is_directory(path)) {
    RunFile(path);
    return 1;
  }
  size_t runs = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
    if (entry.is_regular_file()) {
      RunFile(entry.path());
      ++runs;
    }
  }
  return runs;
}

}  // namespace

int main(int argc, char** argv) {
  size_t runs = 0;
  for (int i = 1; i < argc; ++i) runs += RunPath(argv[i]);
  std::printf("%zu inputs ran\n", runs);
  // An empty corpus would make a test that checks nothing.
  return runs > 0 ? 0 : 1;
}
