// NSString and NSMutableString. A text is a sequence of UTF-16 code units, as
// on the device: `length`, ranges and character indexes count code units.
// The C++ helpers here are how platform and theme code make and read texts.
#pragma once

#include <string>
#include <string_view>

#include "platform/objc/runtime.h"

namespace ns {

void define_string_classes();
// The rest of NSString: files and encodings, searching and splitting, case,
// numeric values, comparison and path texts. Called after define_string_classes.
void define_string_operations();

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
// A new instance of `cls` (NSString or a subclass) holding `text`, owned by
// the caller (+1), for the platform's own constructors.
id new_string(Class cls, std::u16string text);
// The code units of a text the caller is changing (NSMutableString methods).
std::u16string& mutable_characters(id text);

}  // namespace ns

// The runtime's names as texts, and back (nil / Nil / null for nothing).
id NSStringFromClass(Class cls);
Class NSClassFromString(id name);
id NSStringFromSelector(SEL selector);
SEL NSSelectorFromString(id name);

// @"literal": a process-lifetime NSString made once per use site.
#define NSSTR(literal) \
  ([]() -> id {        \
    static id text = ::ns::constant_string(literal); \
    return text;       \
  }())
