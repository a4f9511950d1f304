#include "platform/foundation/ns_file_manager.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "platform/device/device_paths.h"
#include "platform/device/files.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_error.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"

id NSFileType = nil;
id NSFileSize = nil;
id NSFileTypeRegular = nil;
id NSFileTypeDirectory = nil;
id NSFileTypeSymbolicLink = nil;
id NSFileTypeCharacterSpecial = nil;
id NSFileTypeBlockSpecial = nil;
id NSFileTypeSocket = nil;
id NSFileTypeUnknown = nil;

namespace ns {
namespace {

namespace fs = std::filesystem;

// ---- NSFileManager ------------------------------------------------------

std::string host_path(id path) { return device::resolve(utf8(path)); }

id default_manager(id self, SEL) {
  static id shared = msg<id>(self, "new");  // lives for the process
  return shared;
}

BOOL file_exists_is_directory(id, SEL, id path, BOOL* is_directory) {
  if (!is_string(path) || characters(path).empty()) return NO;
  struct stat info {};
  if (::stat(host_path(path).c_str(), &info) != 0) return NO;
  if (is_directory != nullptr) *is_directory = S_ISDIR(info.st_mode) ? YES : NO;
  return YES;
}
BOOL file_exists(id self, SEL, id path) {
  return file_exists_is_directory(self, nullptr, path, nullptr);
}

BOOL create_directory(id, SEL, id path, BOOL intermediates, id, id* error) {
  std::string device_path = utf8(path);
  if (!is_string(path) || characters(path).empty()) {
    report_file_error(error, NSFileNoSuchFileError, device_path);
    return NO;
  }
  std::string target = host_path(path);
  std::error_code cause;
  if (intermediates) {
    fs::create_directories(target, cause);
    // An existing directory is success; anything else in the way is not.
    if (!cause && !fs::is_directory(target, cause))
      cause = std::make_error_code(std::errc::file_exists);
  } else if (::mkdir(target.c_str(), 0755) != 0) {
    cause = std::error_code(errno, std::generic_category());
  }
  if (cause) {
    report_file_error(error, write_error_code(cause), device_path, cause);
    return NO;
  }
  return YES;
}

// Removes a file, or a directory with everything in it. The device's "/"
// itself is never removed.
BOOL remove_item(id, SEL, id path, id* error) {
  std::string device_path = utf8(path);
  if (!is_string(path) || device::normalize(device_path) == "/") {
    report_file_error(error, NSFileWriteNoPermissionError, device_path,
                      std::make_error_code(std::errc::operation_not_permitted));
    return NO;
  }
  std::string target = host_path(path);
  std::error_code cause;
  if (!fs::exists(fs::symlink_status(target, cause))) {
    report_file_error(error, NSFileNoSuchFileError, device_path,
                      std::make_error_code(std::errc::no_such_file_or_directory));
    return NO;
  }
  fs::remove_all(target, cause);
  if (cause) {
    report_file_error(error, write_error_code(cause), device_path, cause);
    return NO;
  }
  return YES;
}

BOOL copy_item(id, SEL, id from, id to, id* error) {
  if (!is_string(from) || !is_string(to)) {
    report_file_error(error, NSFileNoSuchFileError, is_string(from) ? utf8(from) : "");
    return NO;
  }
  const std::error_code cause = device::copy_item(utf8(from), utf8(to));
  if (!cause) return YES;
  // Only the source can be missing: the copy's own folder is the caller's.
  const NSInteger code = cause == std::errc::no_such_file_or_directory ? NSFileReadNoSuchFileError
                                                                        : write_error_code(cause);
  report_file_error(error, code, utf8(code == NSFileReadNoSuchFileError ? from : to), cause);
  return NO;
}

BOOL contents_equal(id, SEL, id a, id b) {
  return is_string(a) && is_string(b) && device::same_item_contents(utf8(a), utf8(b));
}

id type_of(mode_t mode) {
  switch (mode & S_IFMT) {
    case S_IFREG: return NSFileTypeRegular;
    case S_IFDIR: return NSFileTypeDirectory;
    case S_IFLNK: return NSFileTypeSymbolicLink;
    case S_IFCHR: return NSFileTypeCharacterSpecial;
    case S_IFBLK: return NSFileTypeBlockSpecial;
    case S_IFSOCK: return NSFileTypeSocket;
    default: return NSFileTypeUnknown;  // a FIFO has no type of its own
  }
}

// The item itself, not what a link names.
id attributes_of_item(id, SEL, id path, id* error) {
  struct stat info {};
  if (!is_string(path) || ::lstat(host_path(path).c_str(), &info) != 0) {
    const std::error_code cause(is_string(path) ? errno : ENOENT, std::generic_category());
    report_file_error(error, read_error_code(cause), is_string(path) ? utf8(path) : "", cause);
    return nil;
  }
  return dictionary({{NSFileType, type_of(info.st_mode)},
                     {NSFileSize, number(static_cast<unsigned long long>(info.st_size))}});
}

// The names in a directory, sorted (the device gives no order; a fixed one
// keeps every run alike).
id contents_of_directory(id, SEL, id path, id* error) {
  std::string device_path = utf8(path);
  std::error_code cause;
  std::vector<std::string> names;
  if (!is_string(path)) {
    report_file_error(error, NSFileReadNoSuchFileError, device_path);
    return nil;
  }
  for (fs::directory_iterator it(host_path(path), cause), end; !cause && it != end;
       it.increment(cause)) {
    names.push_back(it->path().filename().string());
  }
  if (cause) {
    report_file_error(error, read_error_code(cause), device_path, cause);
    return nil;
  }
  std::sort(names.begin(), names.end());
  std::vector<id> texts;
  for (const auto& name : names) texts.push_back(string(name));
  return array(texts);
}

// ---- NSBundle -----------------------------------------------------------

const objc::Member<Ref> kBundlePath{"NSBundle", "_path"};
const objc::Member<Ref> kIdentifier{"NSBundle", "_identifier"};
const objc::Member<Ref> kInfo{"NSBundle", "_info"};

struct MainBundle {
  std::mutex lock;
  Ref bundle;
};
MainBundle& main_bundle_state() {
  static auto* state = new MainBundle;  // lives for the process
  return *state;
}

id init_with_path(id self, SEL, id path) {
  BOOL directory = NO;
  if (!file_exists_is_directory(nil, nullptr, path, &directory) || !directory) {
    msg<void>(self, "release");
    return nil;
  }
  kBundlePath.of(self) = Ref::retain(string(device::normalize(utf8(path))));
  return self;
}
id bundle_with_path(id self, SEL, id path) {
  return autorelease(init_with_path(msg<id>(self, "alloc"), nullptr, path));
}
id main_bundle(id, SEL) {
  auto& state = main_bundle_state();
  std::lock_guard guard(state.lock);
  return state.bundle.get();
}
id bundle_path(id self, SEL) { return kBundlePath.of(self); }

// Names the main bundle's identifier; a main bundle not yet named gets the
// device's "/" as its directory.
void set_main_bundle_identifier(id, SEL, id identifier) {
  std::string path = "/";
  if (id current = main_bundle(nil, nullptr)) path = utf8(kBundlePath.of(current));
  set_main_bundle(path, utf8(identifier));
}

// "<bundle>/<name>.<type>" (just "<name>" for no type) when that file exists.
id path_for_resource(id self, SEL, id name, id type) {
  if (!is_string(name) || characters(name).empty()) return nil;
  std::string file = utf8(name);
  if (is_string(type) && !characters(type).empty()) file += "." + utf8(type);
  id candidate = string(device::normalize(utf8(kBundlePath.of(self)) + "/" + file));
  return file_exists(nil, nullptr, candidate) ? candidate : nil;
}

// The Info.plist dictionary, read once; empty when there is none.
id info_dictionary(id self, SEL) {
  Ref& info = kInfo.of(self);
  if (!info) {
    id read = read_property_list(utf8(kBundlePath.of(self)) + "/Info.plist");
    info = Ref::retain(is_dictionary(read) ? read : dictionary({}));
  }
  return info;
}
id object_for_info_key(id self, SEL, id key) {
  return msg<id>(info_dictionary(self, nullptr), "objectForKey:", key);
}
id bundle_identifier(id self, SEL) {
  if (kIdentifier.of(self)) return kIdentifier.of(self);
  id value = object_for_info_key(self, nullptr, string("CFBundleIdentifier"));
  return is_string(value) ? value : nil;
}

}  // namespace

void define_file_classes() {
  objc::ClassDefinition("NSFileManager", objc_getClass("NSObject"))
      .class_method("defaultManager", default_manager)
      .method("fileExistsAtPath:", file_exists)
      .method("fileExistsAtPath:isDirectory:", file_exists_is_directory)
      .method("createDirectoryAtPath:withIntermediateDirectories:attributes:error:",
              create_directory)
      .method("removeItemAtPath:error:", remove_item)
      .method("contentsOfDirectoryAtPath:error:", contents_of_directory)
      .method("copyItemAtPath:toPath:error:", copy_item)
      .method("contentsEqualAtPath:andPath:", contents_equal)
      .method("attributesOfItemAtPath:error:", attributes_of_item)
      .finish();
  NSFileType = constant_string("NSFileType");
  NSFileSize = constant_string("NSFileSize");
  NSFileTypeRegular = constant_string("NSFileTypeRegular");
  NSFileTypeDirectory = constant_string("NSFileTypeDirectory");
  NSFileTypeSymbolicLink = constant_string("NSFileTypeSymbolicLink");
  NSFileTypeCharacterSpecial = constant_string("NSFileTypeCharacterSpecial");
  NSFileTypeBlockSpecial = constant_string("NSFileTypeBlockSpecial");
  NSFileTypeSocket = constant_string("NSFileTypeSocket");
  NSFileTypeUnknown = constant_string("NSFileTypeUnknown");
  objc::ClassDefinition("NSBundle", objc_getClass("NSObject"))
      .member<Ref>("_path")
      .member<Ref>("_identifier")
      .member<Ref>("_info")
      .class_method("bundleWithPath:", bundle_with_path)
      .class_method("mainBundle", main_bundle)
      .class_method("setMainBundleIdentifier:", set_main_bundle_identifier)
      .method("initWithPath:", init_with_path)
      .method("bundlePath", bundle_path)
      .method("resourcePath", bundle_path)
      .method("pathForResource:ofType:", path_for_resource)
      .method("infoDictionary", info_dictionary)
      .method("objectForInfoDictionaryKey:", object_for_info_key)
      .method("bundleIdentifier", bundle_identifier)
      .finish();
}

void set_main_bundle(std::string_view device_path, std::string_view identifier) {
  AutoreleasePool pool;
  Ref bundle = Ref::adopt(msg<id>(objc_getClass("NSBundle"), "alloc"));
  bundle = Ref::adopt(init_with_path(bundle.leak(), nullptr, string(device_path)));
  if (!bundle) {
    // The host names a bundle it has not laid out yet: keep the path anyway.
    bundle = Ref::adopt(msg<id>(objc_getClass("NSBundle"), "alloc"));
    kBundlePath.of(bundle) = Ref::retain(string(device::normalize(device_path)));
  }
  if (!identifier.empty()) kIdentifier.of(bundle) = Ref::retain(string(identifier));
  auto& state = main_bundle_state();
  std::lock_guard guard(state.lock);
  state.bundle = std::move(bundle);
}

}  // namespace ns
