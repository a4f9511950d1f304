// UIKit's drawing functions: the stack of current graphics contexts, bound to
// the calling thread, with the image contexts that make new images, and the
// rectangle fills that paint in the current fill colour.
//
// An image context is a bitmap context of the size in points times the
// scale, each rounded up (an image under a point tall still has a pixel
// row), premultiplied, transparent at the start (an opaque one has no alpha
// and starts black, and so do its images), with coordinates in points
// from the top-left corner, y growing downwards. A size that is zero,
// negative, not a number or outside the pixel budget makes no context: the
// stack still gets an entry, so the matching end stays balanced, but there is
// no current context and no image to take. Ending with an empty stack does
// nothing.
#pragma once

#include <cstdint>

#include "platform/coregraphics/cg_context.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/runtime.h"

void UIGraphicsBeginImageContext(CGSize size);
// Scale 0 means the main screen's scale.
void UIGraphicsBeginImageContextWithOptions(CGSize size, BOOL opaque, double scale);
CGContextRef UIGraphicsGetCurrentContext();
// A new autoreleased UIImage of the current image context's pixels, with its
// size in points and its scale; nil when the current entry is no image
// context.
id UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();
// Makes `context` current (a view's display pass does) until the matching pop.
void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext();

// Fills with copy blending: the covered pixels take the fill colour exactly.
void UIRectFill(CGRect rect);
void UIRectFillUsingBlendMode(CGRect rect, CGBlendMode mode);

namespace ui {
// Adds setFill and set to UIColor.
void define_color_drawing();
}  // namespace ui
