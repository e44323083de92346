// What the exporter's two YAML files share: a document read with errors
// that name the file and the line, known keys only, and files named
// relative to the document.
#ifndef T740_MONITORING_CONFIG_YAML_READER_H
#define T740_MONITORING_CONFIG_YAML_READER_H

#include <yaml-cpp/yaml.h>

#include <string>

namespace t740::monitoring {

class YamlReader {
 public:
  explicit YamlReader(std::string path) : path_(std::move(path)) {}

  // The document; null for an empty one. Throws ConfigError.
  YAML::Node Load(const std::string& text) const;
  // Throws ConfigError "FILE:LINE: what", at the node's line.
  [[noreturn]] void Fail(const YAML::Node& node, const std::string& what) const;
  // The node's single value; `key` names it in the error.
  std::string Scalar(const YAML::Node& node, const std::string& key) const;
  // Fails at the first key of `map` that is not among the words of `known`.
  void CheckKeys(const YAML::Node& map, const char* known, const std::string& where) const;
  // A path from the document, relative to the document's directory.
  std::string PathFrom(const std::string& path) const;

 private:
  std::string path_;
};

// The whole file. Throws ConfigError when it cannot be read.
std::string ReadConfigFile(const std::string& path);

}  // namespace t740::monitoring

#endif
