// Texts made from a format and arguments, as stringWithFormat: and NSLog
// make them: the printf conversions (flags, width, precision, `*`, length
// modifiers hh h l ll q z j t L, positional `%n$`), plus
//   %@  the object's description, "(null)" for nil;
//   %s  a zero-terminated C string, each byte one character of ISO Latin-1
//       (the platform's default 8-bit C-string encoding here);
//   %c  one such byte; %C one UTF-16 code unit; %S a zero-terminated
//       UTF-16 string.
// Widths and precisions of texts count UTF-16 code units (bytes for %s).
// %n writes nothing: its argument is taken and ignored. A conversion the
// platform does not know is copied to the text as it stands.
#pragma once

#include <cstdarg>
#include <string>

#include "platform/objc/runtime.h"

namespace ns {

// A new autoreleased NSString. A nil format raises NSInvalidArgumentException.
id format(id format, ...);
id vformat(id format, va_list arguments);
// The formatted code units, for callers that want no object.
std::u16string vformat_characters(id format, va_list arguments);

}  // namespace ns
