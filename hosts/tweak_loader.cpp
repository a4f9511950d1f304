#include "hosts/tweak_loader.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"

namespace host {
namespace {

using objc::msg;

constexpr const char* kTweakDirectory = "/Library/MobileSubstrate/DynamicLibraries";

// Whether `list` (an array of texts) holds `value`.
bool list_contains(id list, const std::string& value) {
  if (!msg<BOOL>(list, "isKindOfClass:", objc_getClass("NSArray"))) return false;
  return msg<BOOL>(list, "containsObject:", ns::string(value));
}

}  // namespace

bool filter_matches(void* filter_dictionary, const std::string& bundle_identifier,
                    const std::string& executable_name) {
  id dictionary = static_cast<id>(filter_dictionary);
  id filter = msg<id>(dictionary, "objectForKey:", NSSTR("Filter"));
  if (!msg<BOOL>(filter, "isKindOfClass:", objc_getClass("NSDictionary"))) return false;
  return list_contains(msg<id>(filter, "objectForKey:", NSSTR("Bundles")), bundle_identifier) ||
         list_contains(msg<id>(filter, "objectForKey:", NSSTR("Executables")), executable_name);
}

std::vector<LoadedTweak> load_tweaks(const std::string& bundle_identifier,
                                     const std::string& executable_name) {
  namespace fs = std::filesystem;
  std::vector<LoadedTweak> loaded;
  const fs::path directory = device::resolve(kTweakDirectory);
  std::error_code error;
  std::vector<fs::path> libraries;
  for (const auto& entry : fs::directory_iterator(directory, error)) {
    if (entry.path().extension() == ".dylib") libraries.push_back(entry.path());
  }
  std::sort(libraries.begin(), libraries.end());

  for (const fs::path& library : libraries) {
    ns::AutoreleasePool pool;
    const std::string name = library.stem().string();
    const std::string filter_path = std::string(kTweakDirectory) + "/" + name + ".plist";
    id filter = msg<id>(objc_getClass("NSDictionary"),
                        "dictionaryWithContentsOfFile:", ns::string(filter_path));
    if (filter == nil || !filter_matches(filter, bundle_identifier, executable_name)) continue;

    LoadedTweak tweak{name, dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL), {}};
    if (tweak.handle == nullptr) {
      tweak.error = dlerror();
      std::fprintf(stderr, "MS:Error: %s\n", tweak.error.c_str());
    }
    loaded.push_back(std::move(tweak));
  }
  return loaded;
}

}  // namespace host
