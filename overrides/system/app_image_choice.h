// Whether an after-call image rule (the thread-cell backgrounds, the side
// panel's highlighted icon) hands on an image of its own in place of the one
// the app made: only while the theme is on, and only for an image that covers
// an area. The platform makes no image of zero width or height, so for such
// an image (or one whose size is not a number) the app keeps its own rather
// than getting none.
#pragma once

#include <cmath>

namespace tenebra {

struct AppImageSize {
  double width = 0, height = 0;
};

// `Image` answers present() and size() (an AppImageSize in points); the size
// is asked only while the theme is on and there is an image.
template <typename Image>
bool replaces_app_image(const Image& image, bool enabled) {
  if (!enabled || !image.present()) return false;
  const AppImageSize size = image.size();
  return size.width > 0 && size.height > 0 && std::isfinite(size.width) &&
         std::isfinite(size.height);
}

}  // namespace tenebra
