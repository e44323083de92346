#include "monitoring/config/yaml_reader.h"

#include <fstream>
#include <set>
#include <sstream>

#include "monitoring/config/access_config.h"

namespace t740::monitoring {

namespace {

// yaml-cpp descends once per level of nesting; deeper documents are no
// configuration and would only spend the stack.
constexpr int kNestingMaximum = 64;

// The line of the first bracket nested too deep, or 0 (brackets inside
// quotes count too, which errs on the safe side).
int TooDeep(const std::string& text) {
  int depth = 0;
  int line = 1;
  for (char c : text) {
    line += c == '\n';
    depth += c == '[' || c == '{';
    if ((c == ']' || c == '}') && depth > 0) --depth;
    if (depth > kNestingMaximum) return line;
  }
  return 0;
}

}  // namespace

YAML::Node YamlReader::Load(const std::string& text) const {
  if (const int line = TooDeep(text)) {
    throw ConfigError(path_ + ":" + std::to_string(line) + ": nested deeper than " +
                      std::to_string(kNestingMaximum) + " levels");
  }
  try {
    return YAML::Load(text);
  } catch (const YAML::Exception& error) {
    throw ConfigError(path_ + ":" + std::to_string(error.mark.line + 1) + ": " + error.msg);
  }
}

void YamlReader::Fail(const YAML::Node& node, const std::string& what) const {
  throw ConfigError(path_ + ":" + std::to_string(node.Mark().line + 1) + ": " + what);
}

std::string YamlReader::Scalar(const YAML::Node& node, const std::string& key) const {
  if (!node.IsScalar()) Fail(node, key + ": not a single value");
  return node.Scalar();
}

void YamlReader::CheckKeys(const YAML::Node& map, const char* known,
                           const std::string& where) const {
  std::set<std::string> keys;
  std::istringstream words(known);
  for (std::string word; words >> word;) keys.insert(word);
  for (const auto& entry : map) {
    const std::string key = Scalar(entry.first, where.empty() ? "key" : where);
    if (!keys.count(key)) {
      Fail(entry.first, (where.empty() ? "" : where + ": ") + "unknown key '" + key + "'");
    }
  }
}

std::string YamlReader::PathFrom(const std::string& path) const {
  if (path.empty() || path.front() == '/') return path;
  const size_t slash = path_.rfind('/');
  return slash == std::string::npos ? path : path_.substr(0, slash + 1) + path;
}

std::string ReadConfigFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw ConfigError(path + ": cannot be read");
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace t740::monitoring
