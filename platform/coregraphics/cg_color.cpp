#include "platform/coregraphics/cg_color.h"

std::size_t CGColorGetNumberOfComponents(CGColorRef color) {
  return color == nullptr ? 0 : color->components.count();
}

const double* CGColorGetComponents(CGColorRef color) {
  return color == nullptr ? nullptr : color->components.components().data();
}

double CGColorGetAlpha(CGColorRef color) {
  return color == nullptr ? 0.0 : color->components.alpha();
}

CGColorSpaceRef CGColorGetColorSpace(CGColorRef color) {
  static constexpr CGColorSpace kGrey{kCGColorSpaceModelMonochrome};
  static constexpr CGColorSpace kRgb{kCGColorSpaceModelRGB};
  static constexpr CGColorSpace kPattern{kCGColorSpaceModelPattern};
  if (color == nullptr) return nullptr;
  switch (color->components.model()) {
    case cg::ColorModel::kGrey:
      return &kGrey;
    case cg::ColorModel::kRgb:
      return &kRgb;
    case cg::ColorModel::kOther:
      return &kPattern;
  }
  return nullptr;
}

CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space) {
  return space == nullptr ? kCGColorSpaceModelUnknown : space->model;
}
