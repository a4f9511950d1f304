#include "tools/support/device_root.h"

#include <filesystem>
#include <ostream>

#include "platform/device/device_paths.h"

namespace tools {

bool use_device_root(const std::optional<std::string>& root, std::ostream& err) {
  if (!root) return true;
  std::error_code ignored;
  if (!std::filesystem::is_directory(*root, ignored)) {
    err << "error: the device root \"" << *root << "\" is not a directory\n";
    return false;
  }
  device::set_root(*root);
  return true;
}

}  // namespace tools
