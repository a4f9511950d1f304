// How Darwin notifications travel between processes here, with no daemon.
// Every notification name has a file in the notify directory
// ("/var/run/notify" under the device root). Posting opens the name's file
// for writing and closes it; each observing process watches the directory
// with inotify, whose close-after-write events carry the file's name. The
// kernel merges an event with the unread one before it when the two are the
// same, which is how posts close together coalesce; an event is never merged
// into one that has already been read, so a post is always followed by a
// delivery.
#pragma once

#include <string>
#include <string_view>

namespace cf {

// The host directory that carries notifications, under the device root that
// TENEBRA_DEVICE_ROOT names; empty when no device root is set, and then no
// notification travels.
std::string notify_directory();

// The file name that stands for the notification `name` (UTF-8): always a
// valid file name ("n-" and the name with every byte other than a letter,
// digit, '.', '_' or '-' written as %XX; when that is longer than a file
// name may be, "h-" and the name's SHA-256 in hex). Distinct names get
// distinct file names.
std::string notify_file_name(std::string_view name);

// Posts the notification `name`, creating the notify directory when it is
// missing. Returns false when the post could not be carried: no notify
// directory, or the name's file cannot be opened for writing (a symbolic
// link or a FIFO in its place is never followed or waited on).
bool post_darwin_notification(std::string_view name);

}  // namespace cf
