// CGContext as a bitmap context: drawing into pixels in the caller's memory
// (or memory of its own when given none), laid out as the bitmap info says.
// The graphics state holds the current transform, the fill colour, the blend
// mode and the clip; save and restore keep a stack of it.
//
// Coordinates are CoreGraphics' own: the base transform puts the origin at
// the bottom-left corner with y growing upwards, so the first stored row is
// the top of the picture. Drawing follows axis-aligned transforms
// (translation, scaling, flips); under a transform that rotates or shears,
// fills and images draw nothing.
//
// Every function accepts a null context and then does nothing (or answers
// 0, null, the identity).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/coregraphics/cg_color.h"
#include "platform/coregraphics/cg_image.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/type_encoding.h"

struct CGContext;
using CGContextRef = CGContext*;

struct CGAffineTransform {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
  friend constexpr bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};

using CGBlendMode = std::int32_t;
inline constexpr CGBlendMode kCGBlendModeNormal = 0;
inline constexpr CGBlendMode kCGBlendModeCopy = 17;

// kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big: R, G, B, A bytes.
inline constexpr std::uint32_t kCGBitmapRGBAPremultiplied = 0x4001;

// A new bitmap context (reference count 1), or null for a layout that has
// none (see PixelFormat::make), a size outside the budget, or rows shorter
// than a row of pixels. `bytes_per_row` 0 means packed rows. With `data` null
// the context allocates zeroed memory of its own.
CGContextRef CGBitmapContextCreate(void* data, std::size_t width, std::size_t height,
                                   std::size_t bits_per_component, std::size_t bytes_per_row,
                                   CGColorSpaceRef space, std::uint32_t bitmap_info);
CGContextRef CGContextRetain(CGContextRef context);
void CGContextRelease(CGContextRef context);

void* CGBitmapContextGetData(CGContextRef context);
std::size_t CGBitmapContextGetWidth(CGContextRef context);
std::size_t CGBitmapContextGetHeight(CGContextRef context);
std::size_t CGBitmapContextGetBytesPerRow(CGContextRef context);
std::size_t CGBitmapContextGetBitsPerComponent(CGContextRef context);
std::size_t CGBitmapContextGetBitsPerPixel(CGContextRef context);
std::uint32_t CGBitmapContextGetAlphaInfo(CGContextRef context);
std::uint32_t CGBitmapContextGetBitmapInfo(CGContextRef context);
CGColorSpaceRef CGBitmapContextGetColorSpace(CGContextRef context);
// A new image holding a copy of the context's pixels, in its layout.
CGImageRef CGBitmapContextCreateImage(CGContextRef context);

void CGContextSaveGState(CGContextRef context);
// Restores the last saved state; with none saved, changes nothing.
void CGContextRestoreGState(CGContextRef context);

CGAffineTransform CGContextGetCTM(CGContextRef context);
void CGContextTranslateCTM(CGContextRef context, double tx, double ty);
void CGContextScaleCTM(CGContextRef context, double sx, double sy);
void CGContextConcatCTM(CGContextRef context, CGAffineTransform transform);

// Normal (0) and copy (17) blending; the other modes composite as normal.
void CGContextSetBlendMode(CGContextRef context, CGBlendMode mode);
// Makes the fill colour opaque black in `space`.
void CGContextSetFillColorSpace(CGContextRef context, CGColorSpaceRef space);
// An RGB or grey colour becomes the fill colour, components clamped to 0-1;
// a colour of neither model (a pattern) leaves the fill colour as it was.
void CGContextSetFillColorWithColor(CGContextRef context, CGColorRef color);
void CGContextSetRGBFillColor(CGContextRef context, double red, double green, double blue,
                              double alpha);
void CGContextFillRect(CGContextRef context, CGRect rect);
// Makes the rectangle transparent, whatever the blend mode.
void CGContextClearRect(CGContextRef context, CGRect rect);

// Scales the whole image to `rect`, its first stored row at the rectangle's
// top in the context's coordinates (so upside down under a flipped
// transform). A null image draws nothing.
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);

void CGContextClipToRect(CGContextRef context, CGRect rect);
// Narrows the clip to `mask` drawn over `rect` as an image would be: its
// alpha is the coverage (a grey image without alpha gives its grey; an
// image of neither covers fully). Outside the rectangle nothing is drawn.
void CGContextClipToMask(CGContextRef context, CGRect rect, CGImageRef mask);

namespace objc {
template <>
struct Encoding<CGContext> {
  static std::string value() { return "{CGContext=}"; }
};
template <>
struct Encoding<CGAffineTransform> {
  static std::string value() { return "{CGAffineTransform=dddddd}"; }
};
}  // namespace objc
