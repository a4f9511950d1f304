// PNG files to images and back, through libpng. Files hold straight alpha:
// reading premultiplies (one rounding per channel), writing divides the
// alpha out again. Grey, palette, 16-bit and interlaced files are all read
// as 8-bit RGB.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/coregraphics/cg_image.h"

namespace cg {

// A new image (reference count 1): premultiplied R, G, B, A bytes (alpha
// info 1) when the file has alpha or a transparent colour, else R, G, B and
// a skipped byte (alpha info 5). Null for bytes that are not a whole PNG
// file, and for dimensions outside the budget, refused before the pixels
// are allocated. libpng's errors are contained; nothing escapes.
CGImageRef decode_png(std::span<const std::uint8_t> bytes);

// The image as a PNG file: 8-bit RGBA when its layout has alpha, else RGB;
// nothing for a null image or when libpng fails.
std::optional<std::vector<std::uint8_t>> encode_png(CGImageRef image);

}  // namespace cg
