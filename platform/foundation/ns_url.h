// NSURL as the pane and the app model use it: a URL made from its text,
// which must be a valid URL. A text holding a character that no part of a URL
// may hold (a space, a non-ASCII character, a quote, angle brackets, braces,
// a backslash, a caret, a grave accent, a vertical bar, a control character),
// a '%' that does not begin two hex digits, or a second '#' makes no URL, as
// on the device (URLWithString: answers nil). The scheme is the text before
// the first ':' when that text is a scheme name (a letter, then letters,
// digits, '+', '-' or '.') and no '/', '?' or '#' comes before it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/objc/runtime.h"

namespace ns {

void define_url_classes();

// Whether `text` is a URL that URLWithString: accepts.
bool is_valid_url_text(std::u16string_view text);
// The scheme of a valid URL text, if it has one.
std::optional<std::u16string> url_scheme(std::u16string_view text);

}  // namespace ns
