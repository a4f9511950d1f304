#include "platform/quartzcore/ca_layer.h"

#include <memory>

#include "platform/foundation/ns_object.h"
#include "platform/coregraphics/cg_color.h"
#include "platform/coregraphics/geometry.h"

namespace ca {
namespace {

// A colour the layer owns: absent, or its own copy of a CGColor.
using OwnedColor = std::unique_ptr<CGColor>;

const objc::Member<CGRect> kFrame{"CALayer", "_frame"};
const objc::Member<OwnedColor> kBackgroundColor{"CALayer", "_backgroundColor"};
const objc::Member<id> kDelegate{"CALayer", "_delegate"};
const objc::Member<OwnedColor> kFillColor{"CAShapeLayer", "_fillColor"};
const objc::Member<OwnedColor> kStrokeColor{"CAShapeLayer", "_strokeColor"};

OwnedColor own(CGColorRef color) {
  return color == nullptr ? nullptr : std::make_unique<CGColor>(*color);
}

CGRect frame(id self, SEL) { return kFrame.of(self); }
void set_frame(id self, SEL, CGRect frame) { kFrame.of(self) = frame; }
CGRect bounds(id self, SEL) { return {{0.0, 0.0}, kFrame.of(self).size}; }
CGColorRef background_color(id self, SEL) { return kBackgroundColor.of(self).get(); }
void set_background_color(id self, SEL, CGColorRef color) {
  kBackgroundColor.of(self) = own(color);
}
id delegate(id self, SEL) { return kDelegate.of(self); }
void set_delegate(id self, SEL, id delegate) { kDelegate.of(self) = delegate; }

CGColorRef fill_color(id self, SEL) { return kFillColor.of(self).get(); }
void set_fill_color(id self, SEL, CGColorRef color) { kFillColor.of(self) = own(color); }
CGColorRef stroke_color(id self, SEL) { return kStrokeColor.of(self).get(); }
void set_stroke_color(id self, SEL, CGColorRef color) { kStrokeColor.of(self) = own(color); }

// A new shape layer fills with opaque black, as on the device.
id shape_init(id self, SEL) {
  self = objc::msg_super<id>(self, objc_getClass("CAShapeLayer"), objc::sel("init"));
  static CGColor black{cg::ColorComponents::rgb(0.0, 0.0, 0.0, 1.0)};
  if (self != nil) kFillColor.of(self) = own(&black);
  return self;
}

}  // namespace

void define_layer_classes() {
  objc::ClassDefinition("CALayer", objc_getClass("NSObject"))
      .member<CGRect>("_frame")
      .member<OwnedColor>("_backgroundColor")
      .member<id>("_delegate")
      .method("frame", frame)
      .method("setFrame:", set_frame)
      .method("bounds", bounds)
      .method("backgroundColor", background_color)
      .method("setBackgroundColor:", set_background_color)
      .method("delegate", delegate)
      .method("setDelegate:", set_delegate)
      .finish();
  objc::ClassDefinition("CAShapeLayer", objc_getClass("CALayer"))
      .member<OwnedColor>("_fillColor")
      .member<OwnedColor>("_strokeColor")
      .method("init", shape_init)
      .method("fillColor", fill_color)
      .method("setFillColor:", set_fill_color)
      .method("strokeColor", stroke_color)
      .method("setStrokeColor:", set_stroke_color)
      .finish();
}

}  // namespace ca
