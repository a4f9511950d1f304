#include "overrides/host/image_view.h"

#include "core/host_interface.h"
#include "core/palette.h"
#include "core/settings.h"
#include "overrides/host/image_choice.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/message.h"

namespace tenebra {

SavedImplementation<void(id, SEL, id)> saved_image_view_set_image;

namespace {

using objc::msg;

// Looked up until the platform has it, then remembered.
ClassCache<1> resizable_image_class{std::array<const char*, 1>{"_UIResizableImage"}};

// The incoming image and its view as the decision sees them.
class RuntimeImage {
 public:
  RuntimeImage(id view, id image) : view_(view), image_(image) {}

  bool present() const { return image_ != nil; }
  ImageSize size() const {
    static SEL size = objc::sel("size");
    const CGSize points = msg<CGSize>(image_, size);
    return {points.width, points.height};
  }
  bool has_alpha() const {
    static SEL has_alpha = objc::sel("hasAlpha");
    return msg<BOOL>(image_, has_alpha) != NO;
  }
  bool is_resizable() const { return is_kind_of(image_, resizable_image_class.get(0)); }
  const char* owner_class_name() const { return class_name(owning_responder(view_)); }

 private:
  id view_;
  id image_;
};

id palette(ImagePalette color) {
  switch (color) {
    case ImagePalette::kBg:
      return bgColor;
    case ImagePalette::kLighterBg:
      return lighterBgColor;
    case ImagePalette::kText:
      return textColor;
  }
  return bgColor;
}

}  // namespace

void image_view_set_image(id self, SEL _cmd, id image) {
  const RuntimeImage facts(self, image);
  const ImageDecision decision = choose_image(facts, settings.enabled != 0);
  id chosen = image;
  if (decision.treatment == ImageTreatment::kSolid) {
    const ImageSize size = facts.size();
    id solid =
        msg<id>(objc_getClass("UIColor"), "imageWithColor:andBounds:", palette(decision.color),
                CGRectMake(0, 0, size.width, size.height));
    // A size that makes no image keeps the app's own.
    if (solid != nil) chosen = solid;
  } else if (decision.treatment == ImageTreatment::kTemplate) {
    msg<void>(self, "setTintColor:", palette(decision.color));
    chosen = msg<id>(image, "imageWithRenderingMode:", 2L);
  }
  saved_image_view_set_image(self, _cmd, chosen);
}

}  // namespace tenebra
