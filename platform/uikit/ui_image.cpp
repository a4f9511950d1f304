#include "platform/uikit/ui_image.h"

#include "platform/foundation/ns_object.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ui {
namespace {

using objc::Ref;

const objc::Member<CGSize> kSize{"UIImage", "_size"};
const objc::Member<double> kScale{"UIImage", "_scale"};
const objc::Member<Ref> kShownImage{"UIImageView", "_image"};

id image_init(id self, SEL) {
  kScale.of(self) = 1.0;
  return self;
}
CGSize image_size(id self, SEL) { return kSize.of(self); }
double image_scale(id self, SEL) { return kScale.of(self); }
id image_copy(id self, SEL, void*) { return Ref::retain(self).leak(); }

id image_view_init_with_image(id self, SEL, id image) {
  CGSize size = objc::msg<CGSize>(image, "size");
  self = objc::msg<id>(self, "initWithFrame:", CGRectMake(0, 0, size.width, size.height));
  kShownImage.of(self) = Ref::retain(image);
  return self;
}
id image_view_image(id self, SEL) { return kShownImage.of(self); }
void image_view_set_image(id self, SEL, id image) { kShownImage.of(self) = Ref::retain(image); }

}  // namespace

void define_image_classes() {
  objc::ClassDefinition("UIImage", objc_getClass("NSObject"))
      .member<CGSize>("_size")
      .member<double>("_scale")
      .method("init", image_init)
      .method("size", image_size)
      .method("scale", image_scale)
      .method("copyWithZone:", image_copy)
      .finish();
  objc::ClassDefinition("UIImageView", objc_getClass("UIView"))
      .member<Ref>("_image")
      .method("initWithImage:", image_view_init_with_image)
      .method("image", image_view_image)
      .method("setImage:", image_view_set_image)
      .finish();
}

id make_image(CGSize size) {
  id image = objc::msg<id>(objc_getClass("UIImage"), "new");
  kSize.of(image) = size;
  return ns::autorelease(image);
}

}  // namespace ui
