// NSFileManager and NSBundle over the device file system: every path they
// take or give is a device path (see platform/device/device_paths.h).
//
// A bundle is a directory; its resources are files in it, found by name and
// type, and its identity is the CFBundleIdentifier of its Info.plist. The
// main bundle is the host app's: the host app model names it at start-up,
// from C++ (set_main_bundle) or by message (+setMainBundleIdentifier:, which
// exists only in this model).
#pragma once

#include <string_view>

namespace ns {

void define_file_classes();

// Makes the bundle at `device_path` the main bundle. A non-empty
// `identifier` is its bundle identifier whatever its Info.plist says. The
// directory need not exist yet.
void set_main_bundle(std::string_view device_path, std::string_view identifier = {});

}  // namespace ns
