// The mail-content script and the class `Helper` that reads it. The script is
// a resource installed beside the library; it is read afresh on every call,
// so a changed file takes effect at the next page load or web view creation.
#pragma once

namespace tenebra {

inline constexpr const char* kScriptBundlePath =
    "/Library/MobileSubstrate/DynamicLibraries/com.kestrow.tenebra.bundle";
inline constexpr const char* kScriptResourceName = "tenebra.min";
inline constexpr const char* kScriptResourceType = "js";

// Defines `Helper`, a subclass of NSObject whose class method `getScript`
// answers the script's whole text, or nil when the bundle or the resource is
// missing, or the file cannot be read or is not valid UTF-8. Logs nothing.
void register_helper_class();

}  // namespace tenebra
