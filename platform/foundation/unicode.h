// Conversions between UTF-8 and UTF-16, the encodings that texts travel in
// (UTF-8 across C interfaces and files, UTF-16 inside NSString, whose lengths
// and ranges count UTF-16 code units). Ill-formed input never fails: each bad
// sequence becomes U+FFFD, as the platform's converters do.
#pragma once

#include <string>
#include <string_view>

namespace ns {

std::u16string utf16_from_utf8(std::string_view utf8);
std::string utf8_from_utf16(std::u16string_view utf16);
// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool is_valid_utf8(std::string_view bytes);
// Appends one code point as UTF-16: a surrogate pair above U+FFFF.
void append_utf16(std::u16string& out, char32_t code_point);

}  // namespace ns
