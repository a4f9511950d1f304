// Loads tweaks the way the substrate does: every library in
// /Library/MobileSubstrate/DynamicLibraries whose filter property list names
// the app's bundle identifier (or executable) is loaded, in file-name order,
// before the app's own start-up code runs.
#pragma once

#include <string>
#include <vector>

namespace host {

struct LoadedTweak {
  std::string name;        // the library's file name without ".dylib"
  void* handle = nullptr;  // the dlopen handle; null when loading failed
  std::string error;       // why loading failed
};

// The tweaks whose filters match, loaded in order. A library without a filter
// plist, or whose filter names another app, is not loaded; a filter that
// cannot be read is skipped.
std::vector<LoadedTweak> load_tweaks(const std::string& bundle_identifier,
                                     const std::string& executable_name);

// Whether a filter (the dictionary read from a tweak's plist) selects this app.
bool filter_matches(void* filter, const std::string& bundle_identifier,
                    const std::string& executable_name);

}  // namespace host
