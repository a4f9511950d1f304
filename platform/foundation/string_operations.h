// The NSString operations beyond the core class, one file each: files and
// encodings, searching and comparing, case, numeric readings, path texts and
// NSMutableString's edits. Here is what they share: making a result text and
// checking arguments as the device does. Lengths, indexes and ranges count
// UTF-16 code units.
#pragma once

#include <string>

#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"

namespace ns {

inline const objc::ClassRef string_class{"NSString"};

// A new autoreleased immutable text.
id text(std::u16string units);

inline const std::u16string& units_of(id self) { return characters(self); }

// The text argument of `cmd`; nil or a non-text raises, as on the device.
const std::u16string& text_argument(id self, SEL cmd, id argument);

// Raises NSRangeException for `what` (an index or range) past the end of
// the receiver's text.
[[noreturn]] void raise_range(id self, SEL cmd, const std::string& what);

void define_string_file_methods();
void define_string_search_methods();
void define_string_case_methods();
void define_string_number_methods();
void define_string_path_methods();
void define_mutable_string_methods();

}  // namespace ns
