#include "platform/device/device_paths.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#ifndef TENEBRA_DEFAULT_DEVICE_ROOT
#error "the build passes the staged device root as TENEBRA_DEFAULT_DEVICE_ROOT"
#endif

namespace device {
namespace {

std::string without_trailing_slashes(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return std::string(path);
}

struct RootState {
  std::mutex lock;
  std::string path;
};

RootState& state() {
  static RootState* shared = [] {
    auto* s = new RootState;  // lives for the process: any thread may resolve at exit
    const char* from_environment = std::getenv("TENEBRA_DEVICE_ROOT");
    s->path = without_trailing_slashes(from_environment != nullptr && *from_environment != '\0'
                                           ? from_environment
                                           : TENEBRA_DEFAULT_DEVICE_ROOT);
    return s;
  }();
  return *shared;
}

}  // namespace

std::string root() {
  auto& s = state();
  std::lock_guard guard(s.lock);
  return s.path;
}

void set_root(std::string_view host_directory) {
  auto& s = state();
  std::lock_guard guard(s.lock);
  s.path = without_trailing_slashes(host_directory);
}

std::string normalize(std::string_view device_path) {
  std::vector<std::string_view> components;
  std::size_t start = 0;
  while (start <= device_path.size()) {
    std::size_t end = device_path.find('/', start);
    if (end == std::string_view::npos) end = device_path.size();
    std::string_view component = device_path.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      if (!components.empty()) components.pop_back();
      continue;
    }
    components.push_back(component);
    // "/User" is a link to "/var/mobile": what follows is taken from there.
    if (components.size() == 1 && component == "User") {
      components = {"var", "mobile"};
    }
  }
  if (components.empty()) return "/";
  std::string out;
  for (auto component : components) {
    out += '/';
    out += component;
  }
  return out;
}

std::string resolve(std::string_view device_path) {
  std::string normal = normalize(device_path);
  std::string base = root();
  if (base.empty() || base == "/") return normal;
  return normal == "/" ? base : base + normal;
}

TemporaryRoot::TemporaryRoot() : previous_(root()) {
  std::error_code error;
  std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
  if (error) temporary = "/tmp";
  std::string pattern = (temporary / "tenebra-device-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("device: cannot make a temporary device root");
    std::abort();
  }
  path_ = pattern;
  set_root(path_);
}

TemporaryRoot::~TemporaryRoot() {
  set_root(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace device
