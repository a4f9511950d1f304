// The rule on -[UIImageView setImage:]: images made for light surfaces are
// replaced by plain palette images or drawn as templates in a palette colour.
#pragma once

#include "core/saved_implementation.h"

namespace tenebra {

extern SavedImplementation<void(id, SEL, id)> saved_image_view_set_image;
void image_view_set_image(id self, SEL _cmd, id image);

}  // namespace tenebra
