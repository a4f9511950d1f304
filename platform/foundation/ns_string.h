// NSString and NSMutableString. A text is a sequence of UTF-16 code units, as
// on the device: `length`, ranges and character indexes count code units.
// The C++ helpers here are how platform and theme code make and read texts.
#pragma once

#include <string>
#include <string_view>

#include "platform/objc/runtime.h"

namespace ns {

void define_string_classes();

// A new autoreleased NSString holding the UTF-8 text.
id string(std::string_view utf8);
id string(std::u16string_view utf16);
// A text that lives for the process (what @"..." is on the device).
id constant_string(const char* utf8);
// The text's UTF-8 form; empty for nil or a non-string.
std::string utf8(id text);
// The text's code units; empty for nil. `text` must be an NSString.
const std::u16string& characters(id text);
// Whether `object` is an NSString (or subclass).
bool is_string(id object);
// Exact, case-sensitive equality; nil equals nothing.
bool string_equals(id text, std::u16string_view other);

}  // namespace ns

// @"literal": a process-lifetime NSString made once per use site.
#define NSSTR(literal) \
  ([]() -> id {        \
    static id text = ::ns::constant_string(literal); \
    return text;       \
  }())
