// Property lists: trees of dictionaries, arrays, texts, numbers, Booleans,
// data and dates, read from and written to files as on the device. Reading
// goes through libplist and takes both the XML and the binary form; writing
// produces the XML form.
//
// Reading never trusts the file: before libplist sees the bytes, the
// nesting depth (XML and binary) and, for the binary form, the structure of
// the object table and the size of the tree it expands to are checked, since
// libplist recurses without limit and expands shared objects. Anything that
// is not a well-formed property list within the limits below reads as nil.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/objc/runtime.h"

namespace ns {

// Larger files are not read.
inline constexpr std::size_t kMaxPropertyListBytes = 16u << 20;
// Deeper nesting of arrays and dictionaries is neither read nor written.
inline constexpr unsigned kMaxPropertyListDepth = 512;
// A binary file that expands to more objects than this is not read.
inline constexpr std::size_t kMaxPropertyListObjects = 1u << 20;

// The property list in `bytes` (either form) as autoreleased objects: Booleans
// as the Boolean NSNumber, integers and reals as NSNumber, strings as
// NSString, data as NSData, dates as NSDate, arrays as NSArray, dictionaries
// as NSDictionary, keyed-archive UIDs as {"CF$UID" = n}; nil when the bytes
// are not a property list or exceed the limits.
id property_list_from_bytes(std::string_view bytes);
// The same for the file at a device path; nil when it cannot be read.
id read_property_list(std::string_view device_path);

// The XML form of `root`, or nothing when the tree holds anything a property
// list cannot: another kind of object, a dictionary key that is not a text,
// a text with U+0000 or an unpaired surrogate, a date outside the form's
// range, nesting beyond the limit (which also catches cycles).
std::optional<std::string> property_list_xml(id root);
// Writes the XML form of `root` to the file at a device path, atomically or
// in place (see device/files.h). False when the tree cannot be written or the
// file cannot; missing directories are not made.
bool write_property_list(id root, std::string_view device_path, bool atomically);

}  // namespace ns
