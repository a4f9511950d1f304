// Whole-file reading and writing on the device file system, the ground under
// every Foundation API that takes a file path. Paths are device paths (see
// device_paths.h); failures come back as the host's error codes.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace device {

// The whole content of the regular file at `device_path`, or nothing with
// `error` set: no such file, not a regular file, unreadable, or larger than
// `max_bytes` (std::errc::file_too_large).
std::optional<std::string> read_file(
    std::string_view device_path, std::error_code& error,
    std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

enum class WriteMode {
  // Opens the file in place and writes over it: a failure part-way leaves a
  // partial file.
  kInPlace,
  // Writes a complete temporary file in the same directory, flushes it to
  // the disk and renames it over the target: readers see the old file or
  // the new one, never a partial one. On failure the old file is untouched
  // and no temporary file remains.
  kAtomic,
};

// Writes `bytes` as the whole content of the file at `device_path`. Missing
// directories are not made. An existing file keeps its permissions; a new
// one gets rw-r--r--. Returns the error, empty on success.
std::error_code write_file(std::string_view device_path, std::string_view bytes, WriteMode mode);

// Copies the item at `from` to `to`, which must not exist yet
// (std::errc::file_exists, checked and created in one step): a regular
// file's bytes and permissions, flushed to the disk, or a symbolic link as a
// link to the same target. Other kinds (directories, FIFOs, devices) are not
// copied (std::errc::not_supported). A link is never followed and nothing
// but a regular file is opened, so no FIFO or device can stall the copy; on
// failure nothing is left at `to`.
std::error_code copy_item(std::string_view from, std::string_view to);

// Whether both items exist and are alike: regular files with the same bytes,
// links with the same target, or else the very same item. Like copy_item,
// it never follows a link nor opens anything but a regular file.
bool same_item_contents(std::string_view a, std::string_view b);

}  // namespace device
