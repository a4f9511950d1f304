// The app's own images, drawn as the app ships them: icons (dark shapes on a
// transparent ground, with alpha), photos and avatars (opaque, without
// alpha) and stretchable separators and backgrounds, and the row of image
// views the inbox shows them in.
#pragma once

#include "platform/objc/runtime.h"

namespace host {

// A square icon of `side` points: a disc on a transparent ground, black
// unless a colour is given.
id icon_image(double side, id color = nil);
// An opaque picture of `width` by `height` points: a warm gradient.
id photo_image(double width, double height);
// A stretchable image of `width` by `height` points in a light grey.
id stretchable_image(double width, double height);

// Adds to `parent` one image view for each kind of image the app shows:
// menu icon, avatar placeholder, thread icon, check mark, photo, separator
// and cell background.
void add_image_views(id parent);

}  // namespace host
