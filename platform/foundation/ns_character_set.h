// NSCharacterSet, a set of Unicode code points, and the percent encoding of
// texts that it drives (NSString's stringByAddingPercentEncodingWithAllowedCharacters:).
// The encoding keeps each character the set holds and replaces every other
// one by '%' and two upper-case hex digits for each byte of its UTF-8 form,
// as Foundation does; a text with an unpaired surrogate has no UTF-8 form and
// gives nil.
#pragma once

namespace ns {

void define_character_set_classes();

}  // namespace ns
