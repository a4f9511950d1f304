// The category NSAttributedString(color): replaceColorsWith:, which gives a
// text one new foreground colour unless its first character already has the
// wanted colour text (see recolor_choice.h). It reaches the platform only by
// messages; a platform exception inside it (an empty text, a foreground
// value that is not a colour) is logged as "-----------------Exception:%@"
// and the receiver comes back unchanged.
#pragma once

namespace toolkit {

// Adds replaceColorsWith: to NSAttributedString; called once at start-up.
void register_attributed_string_category();

}  // namespace toolkit
