#include "platform/uikit/ui_view_display.h"

#include "platform/foundation/ns_object.h"
#include "platform/coregraphics/geometry.h"
#include "platform/corefoundation/run_loop.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Ref> kLayer{"UIView", "_layer"};
const objc::Member<BOOL> kNeedsDisplay{"UIView", "_needsDisplay"};

Class layer_class(id, SEL) { return objc_getClass("CALayer"); }

id layer(id self, SEL) {
  Ref& layer = kLayer.of(self);
  if (!layer) {
    Class cls = msg<Class>(object_getClass(self), "layerClass");
    layer = Ref::adopt(msg<id>(cls, "new"));
    msg<void>(layer.get(), "setDelegate:", self);
  }
  msg<void>(layer.get(), "setFrame:", msg<CGRect>(self, "frame"));
  return layer;
}

void display_if_needed(id self, SEL) {
  if (!kNeedsDisplay.of(self)) return;
  kNeedsDisplay.of(self) = NO;
  msg<void>(self, "drawRect:", msg<CGRect>(self, "bounds"));
}

// The turn keeps the view alive until it has drawn.
void set_needs_display(id self, SEL) {
  if (kNeedsDisplay.of(self)) return;
  kNeedsDisplay.of(self) = YES;
  cf::main_run_loop().perform(
      [view = Ref::retain(self)] { msg<void>(view.get(), "displayIfNeeded"); });
}

}  // namespace

void define_view_display() {
  objc::ClassDefinition::extend(objc_getClass("UIView"))
      .class_method("layerClass", layer_class)
      .method("layer", layer)
      .method("setNeedsDisplay", set_needs_display)
      .method("displayIfNeeded", display_if_needed)
      .finish();
}

}  // namespace ui
