// NSAttributedString and NSMutableAttributedString: a text with attribute
// runs. Lengths, indexes and ranges count UTF-16 code units, as the text's
// own do (a surrogate pair is two units, a combining mark one). Each run maps
// attribute names to values in an immutable dictionary; the runs cover the
// text exactly, and adjacent runs with equal attributes are one run.
//
// A range that reaches past the end raises NSRangeException ("... out of
// bounds; string length N"); location + length never wraps. A nil name or
// value raises NSInvalidArgumentException, as on the device.
//
// The platform's own constructors and copies build runs directly and never
// send addAttribute:value:range:, addAttributes:range: or
// setAttributes:range:, so only the app's own sends of those reach whoever
// replaces them.
#pragma once

#include "platform/foundation/foundation_types.h"
#include "platform/objc/runtime.h"

// Options of the enumeration methods.
using NSAttributedStringEnumerationOptions = NSUInteger;
inline constexpr NSAttributedStringEnumerationOptions NSAttributedStringEnumerationReverse = 1ul
                                                                                             << 1;
inline constexpr NSAttributedStringEnumerationOptions
    NSAttributedStringEnumerationLongestEffectiveRangeNotRequired = 1ul << 20;

namespace ns {

void define_attributed_string_classes();

}  // namespace ns
