// Drawing an image into a Bitmap through the platform's bitmap context, as
// the image operations do: the whole pixel image scaled to the Bitmap, first
// stored row on top, its display orientation not applied.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/objc/runtime.h"
#include "toolkit/image/bitmap.h"

namespace toolkit {

enum class DrawBlend { kNormal, kCopy };

// A new Bitmap of `width` by `height` with `image` drawn into it; nothing
// when the Bitmap cannot be made (a side of 0, past the pixel budget). An
// absent image, or one without a pixel image, draws nothing.
std::optional<Bitmap> draw_into_bitmap(id image, std::uint64_t width, std::uint64_t height,
                                       DrawBlend blend);

}  // namespace toolkit
