// Conversions between texts (UTF-16 code units) and bytes in the encodings
// the platform supports: ASCII, UTF-8, ISO Latin-1 and UTF-16 (with a byte
// order mark, or big- or little-endian without one). A conversion that would
// lose or invent characters fails instead: a byte sequence that is not valid
// in the encoding, a character the encoding cannot hold, an unpaired
// surrogate, an encoding the platform does not know.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/foundation_types.h"

namespace ns {

std::optional<std::u16string> decode(std::string_view bytes, NSStringEncoding encoding);
std::optional<std::string> encode(std::u16string_view text, NSStringEncoding encoding);
// Whether the platform converts texts to and from `encoding`.
bool is_supported_encoding(NSStringEncoding encoding);

}  // namespace ns
