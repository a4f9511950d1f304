#include "platform/objc/type_encoding.h"

#include <cctype>
#include <string>

namespace objc {
namespace {

// Drops qualifiers and offsets; keeps everything that shapes the call.
std::string essential(std::string_view encoding) {
  std::string out;
  out.reserve(encoding.size());
  bool element_start = true;
  for (char c : encoding) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      element_start = true;
      continue;
    }
    if (element_start && is_type_qualifier(c)) continue;
    out.push_back(c);
    element_start = (c != '^');
  }
  return out;
}

}  // namespace

bool same_signature(std::string_view a, std::string_view b) { return essential(a) == essential(b); }

}  // namespace objc
