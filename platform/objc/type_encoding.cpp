#include "platform/objc/type_encoding.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/objc/ffi_types.h"

namespace objc {
namespace {

// Each type of a method encoding as the type walker writes it, without what
// does not shape the call; nothing when the encoding is malformed.
std::optional<std::vector<std::string>> essential_types(std::string_view encoding) {
  std::vector<std::string> types;
  for (std::size_t at = 0; at < encoding.size();) {
    auto type = read_type(encoding, at);
    if (!type) return std::nullopt;
    types.push_back(std::move(*type));
  }
  return types;
}

}  // namespace

bool same_signature(std::string_view a, std::string_view b) {
  auto types_a = essential_types(a);
  auto types_b = essential_types(b);
  // Text that is no encoding matches only itself.
  if (!types_a || !types_b) return a == b;
  return *types_a == *types_b;
}

}  // namespace objc
