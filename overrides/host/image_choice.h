// Which image an image view receives. Some of the app's images are made for
// light surfaces; they are known by their size in points, whether they have
// alpha, whether they are stretchable (the platform's resizable-image class)
// and, for one size, the view controller showing them. The decision is pure:
// it sees the image through a small interface and names the treatment; the
// rule in image_view.cpp gathers the facts from the runtime and applies it.
#pragma once

#include <cstring>

namespace tenebra {

enum class ImageTreatment {
  kIncoming,  // the app's own image, unchanged
  kSolid,     // a new image of the same size filled with the colour
  kTemplate,  // the image drawn as a template in the colour (the view's tint)
};

enum class ImagePalette { kBg, kLighterBg, kText };

struct ImageDecision {
  ImageTreatment treatment = ImageTreatment::kIncoming;
  ImagePalette color = ImagePalette::kBg;
  friend bool operator==(const ImageDecision&, const ImageDecision&) = default;
};

struct ImageSize {
  double width = 0, height = 0;
};

inline constexpr const char* kThreadViewControllerName = "ThreadViewController";

// `Image` answers present(), size() (an ImageSize in points), has_alpha(),
// is_resizable() and owner_class_name() (null for no owner). Each fact is
// asked only when a test needs it. Sizes compare exactly; the greater and
// less tests are strict, and a size that is not a number fails every test.
template <typename Image>
ImageDecision choose_image(const Image& image, bool enabled) {
  using enum ImageTreatment;
  if (!enabled || !image.present()) return {};
  const ImageSize size = image.size();
  const double w = size.width, h = size.height;
  const bool just_under_17 = w > 16.0 && w < 17.0;
  // Stretchable separators and backgrounds; alpha plays no part.
  if (image.is_resizable()) {
    if (w == 17.0 && h == 1.0) return {kSolid, ImagePalette::kBg};
    if (just_under_17 && h < 1.0) return {kSolid, ImagePalette::kBg};
    if (w == 17.0 && h == 17.0) return {kTemplate, ImagePalette::kLighterBg};
  }
  const bool square = h == w;
  if (w == 24.0 && square && image.has_alpha()) return {kTemplate, ImagePalette::kText};
  if (w == 44.0 && square && image.has_alpha()) return {kSolid, ImagePalette::kBg};
  if (w == 40.0 && square && image.has_alpha()) {
    const char* owner = image.owner_class_name();
    if (owner != nullptr && std::strcmp(owner, kThreadViewControllerName) == 0) {
      return {kTemplate, ImagePalette::kLighterBg};
    }
  }
  if (just_under_17 && square && image.has_alpha()) return {kTemplate, ImagePalette::kBg};
  return {};
}

}  // namespace tenebra
