// Options of the `tenebra` front ends that take a value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tools {

// The value of option `name` at argv[i], given as "--name VALUE" (i then
// moves past the value) or "--name=VALUE"; absent when argv[i] is another
// word or the value is missing.
inline std::optional<std::string> option_value(int argc, char** argv, int& i,
                                               std::string_view name) {
  const std::string_view argument = argv[i];
  if (argument.starts_with(name) && argument.size() > name.size() && argument[name.size()] == '=') {
    return std::string(argument.substr(name.size() + 1));
  }
  if (argument == name && i + 1 < argc) return std::string(argv[++i]);
  return std::nullopt;
}

}  // namespace tools
