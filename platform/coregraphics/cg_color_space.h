// Colour spaces as CoreGraphics hands them out: the device RGB and device
// grey spaces, shared for the life of the process (retain and release are
// accepted and change nothing).
#pragma once

#include "platform/coregraphics/cg_color.h"

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CGColorSpaceRef CGColorSpaceCreateDeviceGray();
CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space);
void CGColorSpaceRelease(CGColorSpaceRef space);
// The number of colour components of the space's model (3, 1; 0 for others).
std::size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space);

namespace cg {
// The shared space of a model: RGB, monochrome, or null for any other.
CGColorSpaceRef color_space_for(CGColorSpaceModel model);
}  // namespace cg
