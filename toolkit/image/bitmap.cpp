#include "toolkit/image/bitmap.h"

namespace toolkit {

std::optional<Bitmap> Bitmap::make(std::uint64_t width, std::uint64_t height) {
  if (width == 0 || height == 0 || width > kPixelBudget || height > kPixelBudget / width) {
    return std::nullopt;
  }
  return Bitmap(width, height);
}

}  // namespace toolkit
