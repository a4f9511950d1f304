#include "platform/objc/exported_objects.h"

#include <map>
#include <string>

namespace objc {
namespace {

std::map<std::string, id*, std::less<>>& table() {
  static auto* names = new std::map<std::string, id*, std::less<>>;
  return *names;
}

}  // namespace

void export_object(const char* name, id* address) { table()[name] = address; }

std::optional<id> exported_object(std::string_view name) {
  const auto found = table().find(name);
  if (found == table().end()) return std::nullopt;
  return *found->second;
}

}  // namespace objc
