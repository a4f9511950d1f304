#include "platform/graphics/cg_color.h"

std::size_t CGColorGetNumberOfComponents(CGColorRef color) {
  return color == nullptr ? 0 : color->components.count();
}

const double* CGColorGetComponents(CGColorRef color) {
  return color == nullptr ? nullptr : color->components.components().data();
}

double CGColorGetAlpha(CGColorRef color) {
  return color == nullptr ? 0.0 : color->components.alpha();
}
