#include "platform/coregraphics/cg_context.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/compositing.h"
#include "platform/coregraphics/limits.h"

using cg::Blend;
using cg::Clip;
using cg::Premultiplied;
using cg::RasterRect;

namespace {

struct GraphicsState {
  CGAffineTransform ctm;
  Premultiplied fill{0, 0, 0, 255};
  Blend blend = Blend::kNormal;
  Clip clip;
};

// A rectangle in the context's coordinates as raster coordinates, and
// whether the transform mirrors each axis; nothing under a transform that
// rotates or shears or for a rectangle that is not finite.
struct Placement {
  RasterRect area;
  bool mirrored_x = false;
  bool upright = false;  // the rectangle's top (largest y) lands on the raster's top side
};

}  // namespace

struct CGContext {
  std::size_t references = 1;
  cg::PixelPlane plane;
  std::vector<std::uint8_t> own_memory;
  GraphicsState state;
  std::vector<GraphicsState> saved;

  std::optional<Placement> place(CGRect rect) const {
    const CGAffineTransform& m = state.ctm;
    if (m.b != 0 || m.c != 0) return std::nullopt;
    const double x0 = m.a * rect.origin.x + m.tx;
    const double x1 = m.a * (rect.origin.x + rect.size.width) + m.tx;
    const double height = static_cast<double>(plane.height);
    const double y0 = height - (m.d * rect.origin.y + m.ty);
    const double y1 = height - (m.d * (rect.origin.y + rect.size.height) + m.ty);
    if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1)) {
      return std::nullopt;
    }
    Placement placement;
    placement.area = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    // Widths and heights of either sign name the same rectangle.
    placement.mirrored_x = m.a < 0;
    placement.upright = m.d > 0;
    return placement;
  }
};

CGContextRef CGBitmapContextCreate(void* data, std::size_t width, std::size_t height,
                                   std::size_t bits_per_component, std::size_t bytes_per_row,
                                   CGColorSpaceRef space, std::uint32_t bitmap_info) {
  const CGColorSpaceModel model = CGColorSpaceGetModel(space);
  const bool alpha_only = (bitmap_info & cg::kAlphaInfoMask) == cg::kAlphaOnly;
  const std::size_t bits_per_pixel = alpha_only || model == kCGColorSpaceModelMonochrome ? 8 : 32;
  const auto format = cg::PixelFormat::make(model, bits_per_component, bits_per_pixel, bitmap_info);
  // Contexts draw premultiplied pixels only, and RGB ones in four bytes.
  if (!format || !format->premultiplied || !cg::within_budget(width, height)) {
    return nullptr;
  }
  const std::size_t row = width * static_cast<std::size_t>(format->bytes_per_pixel);
  if (bytes_per_row == 0) bytes_per_row = row;
  if (bytes_per_row < row || bytes_per_row > 4 * cg::kMaxSide) return nullptr;
  auto* context = new CGContext;
  if (data == nullptr) {
    context->own_memory.assign(bytes_per_row * height, 0);
    data = context->own_memory.data();
  }
  context->plane = {static_cast<std::uint8_t*>(data), width, height, bytes_per_row, *format};
  context->state.clip.rect = context->plane.bounds();
  return context;
}

CGContextRef CGContextRetain(CGContextRef context) {
  if (context != nullptr) ++context->references;
  return context;
}

void CGContextRelease(CGContextRef context) {
  if (context != nullptr && --context->references == 0) delete context;
}

void* CGBitmapContextGetData(CGContextRef context) {
  return context == nullptr ? nullptr : context->plane.data;
}
std::size_t CGBitmapContextGetWidth(CGContextRef context) {
  return context == nullptr ? 0 : context->plane.width;
}
std::size_t CGBitmapContextGetHeight(CGContextRef context) {
  return context == nullptr ? 0 : context->plane.height;
}
std::size_t CGBitmapContextGetBytesPerRow(CGContextRef context) {
  return context == nullptr ? 0 : context->plane.bytes_per_row;
}
std::size_t CGBitmapContextGetBitsPerComponent(CGContextRef context) {
  return context == nullptr ? 0 : 8;
}
std::size_t CGBitmapContextGetBitsPerPixel(CGContextRef context) {
  return context == nullptr ? 0
                            : 8 * static_cast<std::size_t>(context->plane.format.bytes_per_pixel);
}
std::uint32_t CGBitmapContextGetAlphaInfo(CGContextRef context) {
  return context == nullptr ? 0 : context->plane.format.alpha_info();
}
std::uint32_t CGBitmapContextGetBitmapInfo(CGContextRef context) {
  return context == nullptr ? 0 : context->plane.format.bitmap_info;
}
CGColorSpaceRef CGBitmapContextGetColorSpace(CGContextRef context) {
  return context == nullptr ? nullptr : cg::color_space_for(context->plane.format.model);
}

CGImageRef CGBitmapContextCreateImage(CGContextRef context) {
  if (context == nullptr) return nullptr;
  const cg::PixelPlane& plane = context->plane;
  std::vector<std::uint8_t> bytes(plane.data, plane.data + plane.bytes_per_row * plane.height);
  return cg::make_image(plane.format, plane.width, plane.height, plane.bytes_per_row,
                        std::move(bytes));
}

void CGContextSaveGState(CGContextRef context) {
  if (context != nullptr) context->saved.push_back(context->state);
}

void CGContextRestoreGState(CGContextRef context) {
  if (context == nullptr || context->saved.empty()) return;
  context->state = std::move(context->saved.back());
  context->saved.pop_back();
}

CGAffineTransform CGContextGetCTM(CGContextRef context) {
  return context == nullptr ? CGAffineTransform{} : context->state.ctm;
}

void CGContextConcatCTM(CGContextRef context, CGAffineTransform t) {
  if (context == nullptr) return;
  // The new transform applies `t` first, then the current one.
  const CGAffineTransform m = context->state.ctm;
  context->state.ctm = {t.a * m.a + t.b * m.c,          t.a * m.b + t.b * m.d,
                        t.c * m.a + t.d * m.c,          t.c * m.b + t.d * m.d,
                        t.tx * m.a + t.ty * m.c + m.tx, t.tx * m.b + t.ty * m.d + m.ty};
}

void CGContextTranslateCTM(CGContextRef context, double tx, double ty) {
  CGContextConcatCTM(context, {1, 0, 0, 1, tx, ty});
}

void CGContextScaleCTM(CGContextRef context, double sx, double sy) {
  CGContextConcatCTM(context, {sx, 0, 0, sy, 0, 0});
}

void CGContextSetBlendMode(CGContextRef context, CGBlendMode mode) {
  if (context != nullptr)
    context->state.blend = mode == kCGBlendModeCopy ? Blend::kCopy : Blend::kNormal;
}

void CGContextSetFillColorSpace(CGContextRef context, CGColorSpaceRef) {
  if (context != nullptr) context->state.fill = {0, 0, 0, 255};
}

void CGContextSetRGBFillColor(CGContextRef context, double red, double green, double blue,
                              double alpha) {
  if (context == nullptr) return;
  auto unit = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); };
  const double a = unit(alpha);
  context->state.fill = {unit(red) * a * 255.0, unit(green) * a * 255.0, unit(blue) * a * 255.0,
                         a * 255.0};
}

void CGContextSetFillColorWithColor(CGContextRef context, CGColorRef color) {
  if (context == nullptr || color == nullptr) return;
  const cg::ColorComponents& c = color->components;
  switch (c.model()) {
    case cg::ColorModel::kRgb:
      CGContextSetRGBFillColor(context, c.at(0), c.at(1), c.at(2), c.alpha());
      break;
    case cg::ColorModel::kGrey:
      CGContextSetRGBFillColor(context, c.at(0), c.at(0), c.at(0), c.alpha());
      break;
    case cg::ColorModel::kOther:
      break;
  }
}

void CGContextFillRect(CGContextRef context, CGRect rect) {
  if (context == nullptr) return;
  if (auto placement = context->place(rect)) {
    cg::fill(context->plane, placement->area, context->state.fill, context->state.clip,
             context->state.blend);
  }
}

void CGContextClearRect(CGContextRef context, CGRect rect) {
  if (context == nullptr) return;
  if (auto placement = context->place(rect)) {
    cg::fill(context->plane, placement->area, {}, context->state.clip, Blend::kCopy);
  }
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image) {
  if (context == nullptr || image == nullptr) return;
  if (auto placement = context->place(rect)) {
    cg::draw_image(context->plane, placement->area, placement->mirrored_x, !placement->upright,
                   cg::plane_of(*image), context->state.clip, context->state.blend);
  }
}

void CGContextClipToRect(CGContextRef context, CGRect rect) {
  if (context == nullptr) return;
  const auto placement = context->place(rect);
  Clip& clip = context->state.clip;
  clip.rect = placement ? clip.rect.intersection(placement->area) : RasterRect{};
}

void CGContextClipToMask(CGContextRef context, CGRect rect, CGImageRef mask) {
  if (context == nullptr) return;
  Clip& clip = context->state.clip;
  const auto placement = context->place(rect);
  if (!placement || mask == nullptr) {
    clip.rect = {};
    return;
  }
  // The mask read as coverage only: its alpha, or the grey of a grey image.
  cg::PixelPlane source = cg::plane_of(*mask);
  if (source.format.alpha < 0 && source.format.model == kCGColorSpaceModelMonochrome) {
    source.format.alpha = source.format.red;
  }
  source.format.red = source.format.green = source.format.blue = -1;

  const cg::PixelPlane& plane = context->plane;
  auto coverage = std::make_shared<std::vector<std::uint8_t>>(plane.width * plane.height, 0);
  cg::PixelPlane target{coverage->data(), plane.width, plane.height, plane.width,
                        *cg::PixelFormat::make(kCGColorSpaceModelUnknown, 8, 8, cg::kAlphaOnly)};
  cg::draw_image(target, placement->area, placement->mirrored_x, !placement->upright, source,
                 Clip{plane.bounds(), nullptr}, Blend::kCopy);
  if (clip.mask) {
    for (std::size_t i = 0; i < coverage->size(); ++i) {
      (*coverage)[i] = cg::round_channel((*coverage)[i] * (*clip.mask)[i] / 255.0);
    }
  }
  clip.mask = std::move(coverage);
  clip.rect = clip.rect.intersection(placement->area);
}
