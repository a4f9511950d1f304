// The device root a front end runs against. Every `tenebra` command takes it
// as `--root DIR` or `--root=DIR` and refuses one that is no directory before
// anything runs: a mistyped root would otherwise pass for an empty device, and
// a notification posted under it would reach no app.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace tools {

// Points the device at `root` when one is given. A root that is no directory
// is refused with one "error: " line on `err`, and the device is left as it
// was.
bool use_device_root(const std::optional<std::string>& root, std::ostream& err);

}  // namespace tools
