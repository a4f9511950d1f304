#include "platform/foundation/ns_bundle_loading.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/device/device_paths.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"

namespace ns {
namespace {

// Every bundle loaded in the process, by its device path, and the bundle each
// class came from. Loaded code is never unloaded, so both live for the process.
struct LoadedBundles {
  std::recursive_mutex lock;
  std::map<std::string, Ref> bundles;
  std::map<Class, std::string> origin;
};
LoadedBundles& loaded_bundles() {
  static auto* state = new LoadedBundles;
  return *state;
}

std::set<Class> registered_classes() {
  std::vector<Class> classes(static_cast<std::size_t>(objc_getClassList(nullptr, 0)));
  const int count = objc_getClassList(classes.data(), static_cast<int>(classes.size()));
  classes.resize(static_cast<std::size_t>(count));
  return {classes.begin(), classes.end()};
}

std::string path_of(id bundle) { return utf8(msg<id>(bundle, "bundlePath")); }

id executable_path(id self, SEL) {
  id name = msg<id>(self, "objectForInfoDictionaryKey:", NSSTR("CFBundleExecutable"));
  if (!is_string(name) || characters(name).empty()) return nil;
  id path = msg<id>(msg<id>(self, "bundlePath"), "stringByAppendingPathComponent:", name);
  return msg<BOOL>(msg<id>(objc_getClass("NSFileManager"), "defaultManager"),
                   "fileExistsAtPath:", path)
             ? path
             : nil;
}

BOOL is_loaded(id self, SEL) {
  auto& state = loaded_bundles();
  std::lock_guard guard(state.lock);
  return state.bundles.count(path_of(self)) != 0 ? YES : NO;
}

BOOL load(id self, SEL) {
  auto& state = loaded_bundles();
  std::lock_guard guard(state.lock);
  const std::string path = path_of(self);
  if (state.bundles.count(path) != 0) return YES;
  id executable = executable_path(self, nullptr);
  if (executable == nil) {
    NSLog(NSSTR("Error loading %@: the bundle has no executable"), msg<id>(self, "bundlePath"));
    return NO;
  }
  const std::set<Class> before = registered_classes();
  if (dlopen(device::resolve(utf8(executable)).c_str(), RTLD_NOW | RTLD_GLOBAL) == nullptr) {
    NSLog(NSSTR("Error loading %@: %s"), executable, dlerror());
    return NO;
  }
  for (Class cls : registered_classes()) {
    if (before.count(cls) == 0) state.origin[cls] = path;
  }
  state.bundles[path] = Ref::retain(self);
  return YES;
}

Class class_named(id self, SEL, id name) {
  Class cls = NSClassFromString(name);
  auto& state = loaded_bundles();
  std::lock_guard guard(state.lock);
  auto at = state.origin.find(cls);
  return at != state.origin.end() && at->second == path_of(self) ? cls : Nil;
}

// The Info.plist's NSPrincipalClass, once the bundle is loaded.
Class principal_class(id self, SEL) {
  if (!load(self, nullptr)) return Nil;
  id name = msg<id>(self, "objectForInfoDictionaryKey:", NSSTR("NSPrincipalClass"));
  return class_named(self, nullptr, name);
}

id bundle_for_class(id self, SEL, Class cls) {
  auto& state = loaded_bundles();
  std::lock_guard guard(state.lock);
  auto at = state.origin.find(cls);
  if (at != state.origin.end()) return state.bundles[at->second];
  return msg<id>(self, "mainBundle");
}

}  // namespace

void define_bundle_loading() {
  objc::ClassDefinition::extend(objc_getClass("NSBundle"))
      .class_method("bundleForClass:", bundle_for_class)
      .method("executablePath", executable_path)
      .method("load", load)
      .method("isLoaded", is_loaded)
      .method("principalClass", principal_class)
      .method("classNamed:", class_named);
}

}  // namespace ns
