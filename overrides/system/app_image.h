// The wiring shared by the after-call image rules: the image the saved
// implementation returned, seen through the runtime, and the theme's image
// made from it where replaces_app_image says so.
#pragma once

#include "overrides/system/app_image_choice.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/message.h"

namespace tenebra {

class RuntimeAppImage {
 public:
  explicit RuntimeAppImage(id image) : image_(image) {}
  bool present() const { return image_ != nil; }
  AppImageSize size() const {
    static SEL size = objc::sel("size");
    const CGSize points = objc::msg<CGSize>(image_, size);
    return {points.width, points.height};
  }

 private:
  id image_;
};

// `made(size)` answers the theme's image for the app's `image` of that size;
// where it makes none, the app's image stands.
template <typename Make>
id themed_app_image(id image, bool enabled, Make made) {
  const RuntimeAppImage facts(image);
  if (!replaces_app_image(facts, enabled)) return image;
  id themed = made(facts.size());
  return themed != nil ? themed : image;
}

}  // namespace tenebra
