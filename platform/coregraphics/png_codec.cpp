#include "platform/coregraphics/png_codec.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "platform/coregraphics/limits.h"

namespace cg {
namespace {

// The simplified interface serves for writing; it keeps libpng's longjmp
// inside libpng and reports a failure as a zero result.
class PngImage {
 public:
  PngImage() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image_); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
  png_image* operator->() { return &image_; }
  png_image* get() { return &image_; }

 private:
  png_image image_;
};

struct Source {
  const std::uint8_t* next;
  std::size_t left;
};

// What reading gathers. It lives in the caller of the jumping frame, so a
// jump out of libpng passes no object that has a destructor.
struct Decoded {
  png_uint_32 width = 0, height = 0;
  bool has_alpha = false;
  std::vector<std::uint8_t> pixels;
  std::vector<png_bytep> rows;
};

void read_bytes(png_structp png, png_bytep into, png_size_t count) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (count > source->left) png_error(png, "truncated");
  std::memcpy(into, source->next, count);
  source->next += count;
  source->left -= count;
}

[[noreturn]] void on_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_warning(png_structp, png_const_charp) {}

// The read itself, with the only setjmp: every libpng error comes back here.
// Samples are taken as they are (no gamma conversion), expanded to 8-bit RGB
// with a fourth byte: 16-bit samples are scaled with rounding, grey is
// repeated, a palette is looked up, a transparent colour becomes alpha.
bool read_png(png_structp png, png_infop info, Decoded& out) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxSide), static_cast<png_uint_32>(kMaxSide));
  png_read_info(png, info);
  out.width = png_get_image_width(png, info);
  out.height = png_get_image_height(png, info);
  if (!within_budget(out.width, out.height)) return false;
  const png_byte color_type = png_get_color_type(png, info);
  out.has_alpha =
      (color_type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  if (!out.has_alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != std::size_t{out.width} * 4) return false;
  out.pixels.resize(std::size_t{out.width} * 4 * out.height);
  out.rows.resize(out.height);
  for (png_uint_32 y = 0; y < out.height; ++y) {
    out.rows[y] = out.pixels.data() + std::size_t{y} * out.width * 4;
  }
  png_read_image(png, out.rows.data());
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

CGImageRef decode_png(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return nullptr;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning);
  if (png == nullptr) return nullptr;
  png_infop info = png_create_info_struct(png);
  Source source{bytes.data(), bytes.size()};
  Decoded decoded;
  bool read = false;
  if (info != nullptr) {
    png_set_read_fn(png, &source, read_bytes);
    read = read_png(png, info, decoded);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!read) return nullptr;
  std::vector<std::uint8_t>& pixels = decoded.pixels;
  PixelFormat format = PixelFormat::rgba();
  if (decoded.has_alpha) {
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
      const double alpha = pixels[i + 3];
      for (std::size_t c = 0; c < 3; ++c) {
        pixels[i + c] = round_channel(pixels[i + c] * alpha / 255.0);
      }
    }
  } else {
    format = *PixelFormat::make(kCGColorSpaceModelRGB, 8, 32, kAlphaNoneSkipLast | kByteOrder32Big);
  }
  return make_image(format, decoded.width, decoded.height, std::size_t{decoded.width} * 4,
                    std::move(pixels));
}

std::optional<std::vector<std::uint8_t>> encode_png(CGImageRef image) {
  if (image == nullptr) return std::nullopt;
  const PixelPlane source = plane_of(*image);
  const bool has_alpha = image->format.has_alpha();
  const std::size_t channels = has_alpha ? 4 : 3;
  std::vector<std::uint8_t> straight(image->width * image->height * channels);
  std::uint8_t* out = straight.data();
  for (std::size_t y = 0; y < image->height; ++y) {
    for (std::size_t x = 0; x < image->width; ++x, out += channels) {
      const Premultiplied p = load(image->format, source.at(x, y));
      const double a = p.alpha > 0 ? p.alpha / 255.0 : 1.0;
      out[0] = round_channel(p.red / a);
      out[1] = round_channel(p.green / a);
      out[2] = round_channel(p.blue / a);
      if (has_alpha) out[3] = round_channel(p.alpha);
    }
  }
  PngImage png;
  png->width = static_cast<png_uint_32>(image->width);
  png->height = static_cast<png_uint_32>(image->height);
  png->format = has_alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(png.get(), nullptr, &size, 0, straight.data(), 0, nullptr) == 0) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> file(size);
  if (png_image_write_to_memory(png.get(), file.data(), &size, 0, straight.data(), 0, nullptr) ==
      0) {
    return std::nullopt;
  }
  file.resize(size);
  return file;
}

}  // namespace cg
