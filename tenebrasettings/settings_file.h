// The settings file as the pane reaches it: "/User/Library/Preferences/" and
// the cell's "defaults" domain with ".plist". The pane keeps no copy of it:
// each read and each write goes to the file.
//
// Only a plain domain name makes a path: a non-empty text without '/', NUL
// or "..", so no cell can reach a file outside the preferences folder. A
// read from a cell without one gives the cell's "default"; a write fails.
#pragma once

#include <string_view>

#include "platform/objc/runtime.h"

namespace tenebrasettings {

// Whether `domain` (UTF-16) names a file inside the preferences folder.
bool is_plain_domain(std::u16string_view domain);

// The value the cell shows: the file's entry for the cell's "key", whatever
// its value, else the cell's "default" (nil without one).
id read_preference(id specifier);

// Stores `value` under the cell's "key" in its domain's file, keeping every
// other entry, by replacing the file whole; a file that cannot be read as a
// dictionary is replaced by one holding just this entry, once a copy of it
// is kept (settings_backup.h; without one it stays). Then posts the
// cell's "PostNotification", if it has one. A cell without "key", no value,
// a domain that is not plain, a value that is no property-list value and a
// file that cannot be written store and post nothing and log one line.
void write_preference(id value, id specifier);

}  // namespace tenebrasettings
