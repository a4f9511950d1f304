#include "platform/coregraphics/cg_color_space.h"

namespace cg {

CGColorSpaceRef color_space_for(CGColorSpaceModel model) {
  static constexpr CGColorSpace kRgb{kCGColorSpaceModelRGB};
  static constexpr CGColorSpace kGrey{kCGColorSpaceModelMonochrome};
  if (model == kCGColorSpaceModelRGB) return &kRgb;
  if (model == kCGColorSpaceModelMonochrome) return &kGrey;
  return nullptr;
}

}  // namespace cg

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() { return cg::color_space_for(kCGColorSpaceModelRGB); }

CGColorSpaceRef CGColorSpaceCreateDeviceGray() {
  return cg::color_space_for(kCGColorSpaceModelMonochrome);
}

CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space) { return space; }

void CGColorSpaceRelease(CGColorSpaceRef) {}

std::size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space) {
  switch (CGColorSpaceGetModel(space)) {
    case kCGColorSpaceModelRGB:
      return 3;
    case kCGColorSpaceModelMonochrome:
      return 1;
    default:
      return 0;
  }
}
