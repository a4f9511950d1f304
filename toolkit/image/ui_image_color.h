// The image category UIImage(Color): whether an image has an alpha channel
// (hasAlpha), a colour painted over an image's visible shape
// (imageWithTint:), and an image redrawn at another size
// (imageWithImage:scaledToSize:).
#pragma once

namespace toolkit {

// Adds the methods to UIImage; called once at the library's start-up.
void register_image_category();

}  // namespace toolkit
