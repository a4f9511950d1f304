// UIImage and UIImageView, as far as the host app's views need them: an
// image knows its size in points and its scale; an image view shows one
// image. Pixel content comes with the image toolkit.
#pragma once

#include "platform/coregraphics/geometry.h"
#include "platform/objc/runtime.h"

namespace ui {

// Defines UIImage and UIImageView; called once at platform start.
void define_image_classes();

// A new autoreleased image of the given size in points, scale 1.
id make_image(CGSize size);

}  // namespace ui
