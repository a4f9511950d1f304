// NSFileManager and NSBundle over the device file system: every path they
// take or give is a device path (see platform/device/device_paths.h).
//
// A bundle is a directory; its resources are files in it, found by name and
// type, and its identity is the CFBundleIdentifier of its Info.plist. The
// main bundle is the host app's: the host app model names it at start-up,
// from C++ (set_main_bundle) or by message (+setMainBundleIdentifier:, which
// exists only in this model).
//
// Copying, comparing and describing items never follow a link and open
// nothing but regular files. copyItemAtPath:toPath:error: copies regular
// files and links (never replacing an existing item); other kinds are not
// copied here. attributesOfItemAtPath:error: gives NSFileType and NSFileSize.
#pragma once

#include <string_view>

#include "platform/objc/runtime.h"

// Keys and file types of attributesOfItemAtPath:error:; set at platform start.
extern id NSFileType;
extern id NSFileSize;
extern id NSFileTypeRegular;
extern id NSFileTypeDirectory;
extern id NSFileTypeSymbolicLink;
extern id NSFileTypeCharacterSpecial;
extern id NSFileTypeBlockSpecial;
extern id NSFileTypeSocket;
extern id NSFileTypeUnknown;

namespace ns {

void define_file_classes();

// Makes the bundle at `device_path` the main bundle. A non-empty
// `identifier` is its bundle identifier whatever its Info.plist says. The
// directory need not exist yet.
void set_main_bundle(std::string_view device_path, std::string_view identifier = {});

}  // namespace ns
