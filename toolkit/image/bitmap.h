// The Bitmap: the pixel buffer in which the toolkit reads image pixels. Rows
// are packed (bytes per row = width × 4), row 0 is the top of the image, and
// each pixel holds red, green, blue and alpha bytes in that memory order with
// the colour premultiplied by the alpha: a colour c at coverage a stores
// c × a. On the platform this is a bitmap context with 8 bits per component
// and bitmap info 0x4001 over the Bitmap's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace toolkit {

// One stored pixel: premultiplied, so no byte of colour exceeds the alpha
// in a pixel the platform drew.
struct PremultipliedPixel {
  std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
  friend bool operator==(const PremultipliedPixel&, const PremultipliedPixel&) = default;
};

class Bitmap {
 public:
  // The most pixels a Bitmap holds; the Part's 32-bit sizing had no limit.
  static constexpr std::uint64_t kPixelBudget = std::uint64_t{1} << 26;

  // A transparent Bitmap (all bytes zero), or nothing when either side is 0
  // or the pixel count, formed in 64 bits, is past the budget.
  static std::optional<Bitmap> make(std::uint64_t width, std::uint64_t height);

  std::uint64_t width() const { return width_; }
  std::uint64_t height() const { return height_; }
  std::uint64_t bytes_per_row() const { return width_ * 4; }
  std::uint8_t* data() { return bytes_.data(); }
  const std::uint8_t* data() const { return bytes_.data(); }

  PremultipliedPixel pixel(std::uint64_t x, std::uint64_t y) const {
    const std::uint8_t* p = bytes_.data() + y * bytes_per_row() + x * 4;
    return {p[0], p[1], p[2], p[3]};
  }
  void set_pixel(std::uint64_t x, std::uint64_t y, PremultipliedPixel value) {
    std::uint8_t* p = bytes_.data() + y * bytes_per_row() + x * 4;
    p[0] = value.red;
    p[1] = value.green;
    p[2] = value.blue;
    p[3] = value.alpha;
  }

 private:
  Bitmap(std::uint64_t width, std::uint64_t height)
      : width_(width), height_(height), bytes_(width * height * 4, 0) {}

  std::uint64_t width_;
  std::uint64_t height_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace toolkit
