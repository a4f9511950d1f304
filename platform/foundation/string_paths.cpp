// NSString's path texts: components and extensions of slash-separated
// paths, read and built without touching the file system.
#include <string>

#include "platform/foundation/string_operations.h"
#include "platform/objc/class_definition.h"

namespace ns {
namespace {

std::u16string without_trailing_slashes(std::u16string path) {
  while (path.size() > 1 && path.back() == u'/') path.pop_back();
  return path;
}

// Where the last component starts in a path without trailing slashes.
std::size_t last_component_start(const std::u16string& path) {
  std::size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? 0 : slash + 1;
}

// Where the extension's dot is in the last component, or npos. A leading
// dot names a hidden file, not an extension.
std::size_t extension_dot(const std::u16string& path) {
  std::size_t start = last_component_start(path);
  std::size_t dot = path.rfind(u'.');
  if (dot == std::u16string::npos || dot <= start || path == u"/") return std::u16string::npos;
  return dot;
}

id last_path_component(id self, SEL) {
  std::u16string path = without_trailing_slashes(units_of(self));
  if (path == u"/") return text(path);
  return text(path.substr(last_component_start(path)));
}
id by_deleting_last_path_component(id self, SEL) {
  std::u16string path = without_trailing_slashes(units_of(self));
  std::size_t slash = path.rfind(u'/');
  if (slash == std::u16string::npos) return text(u"");
  if (slash == 0) return text(u"/");
  return text(without_trailing_slashes(path.substr(0, slash)));
}
id by_appending_path_component(id self, SEL cmd, id component) {
  std::u16string path = without_trailing_slashes(units_of(self));
  std::u16string more = text_argument(self, cmd, component);
  while (!more.empty() && more.front() == u'/') more.erase(0, 1);
  if (path.empty()) return text(more);
  if (more.empty()) return text(path);
  return text(path == u"/" ? path + more : path + u"/" + more);
}
id path_extension(id self, SEL) {
  std::u16string path = without_trailing_slashes(units_of(self));
  std::size_t dot = extension_dot(path);
  return text(dot == std::u16string::npos ? u"" : path.substr(dot + 1));
}
id by_deleting_path_extension(id self, SEL) {
  std::u16string path = without_trailing_slashes(units_of(self));
  std::size_t dot = extension_dot(path);
  return text(dot == std::u16string::npos ? path : path.substr(0, dot));
}
id by_appending_path_extension(id self, SEL cmd, id extension) {
  const std::u16string& more = text_argument(self, cmd, extension);
  return text(without_trailing_slashes(units_of(self)) + u"." + more);
}

}  // namespace

void define_string_path_methods() {
  objc::ClassDefinition::extend(string_class())
      .method("lastPathComponent", last_path_component)
      .method("stringByDeletingLastPathComponent", by_deleting_last_path_component)
      .method("stringByAppendingPathComponent:", by_appending_path_component)
      .method("pathExtension", path_extension)
      .method("stringByDeletingPathExtension", by_deleting_path_extension)
      .method("stringByAppendingPathExtension:", by_appending_path_extension)
      .finish();
}

}  // namespace ns
