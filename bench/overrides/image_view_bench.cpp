// The image-view rule per call, beside the bare setImage: it wraps: an image
// view three levels deep under a view controller, given an image that passes
// unchanged (an opaque photo), one drawn as a template (a 24-point icon), one
// tested against the owner (a 40-point icon outside the thread screen), and
// one replaced by a plain palette image (a 44-point placeholder, the path
// that draws).
#include <benchmark/benchmark.h>

#include "hosts/gmail/host_images.h"
#include "overrides/host/image_view.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "tools/support/themed_process.h"

namespace {

using objc::msg;
using objc::Ref;

struct Scene {
  Ref controller;
  id view = nil;       // three levels below the controller's root view
  id bare_view = nil;  // beside it, of a class with the unhooked setter
  Ref photo, icon, thread_icon, placeholder;

  Scene() {
    ns::AutoreleasePool pool;
    controller = Ref::adopt(msg<id>(objc_getClass("UIViewController"), "new"));
    id parent = msg<id>(controller, "view");
    for (int level = 0; level < 3; ++level) {
      Ref child = Ref::adopt(msg<id>(objc_getClass("UIView"), "new"));
      msg<void>(parent, "addSubview:", child.get());
      parent = child;
    }
    Ref image_view = Ref::adopt(msg<id>(objc_getClass("UIImageView"), "new"));
    msg<void>(parent, "addSubview:", image_view.get());
    view = image_view;

    Class bare = objc_allocateClassPair(objc_getClass("UIImageView"), "BareImageView", 0);
    objc_registerClassPair(bare);
    class_addMethod(bare, objc::sel("setImage:"), *tenebra::saved_image_view_set_image.slot(),
                    "v@:@");
    Ref sibling = Ref::adopt(msg<id>(bare, "new"));
    msg<void>(parent, "addSubview:", sibling.get());
    bare_view = sibling;

    photo = Ref::retain(host::photo_image(40, 40));
    icon = Ref::retain(host::icon_image(24));
    thread_icon = Ref::retain(host::icon_image(40));
    placeholder = Ref::retain(host::icon_image(44));
  }
};

Scene& scene() {
  static Scene* s = [] {
    tenebra::testing::bring_up_theme();
    return new Scene;
  }();
  return *s;
}

void run(benchmark::State& state, id view, id image) {
  SEL setter = objc::sel("setImage:");
  for (auto _ : state) {
    ns::AutoreleasePool pool;
    msg<void>(view, setter, image);
  }
}

void BM_BareSetImage(benchmark::State& state) { run(state, scene().bare_view, scene().photo); }
BENCHMARK(BM_BareSetImage);

void BM_RulePhotoUnchanged(benchmark::State& state) { run(state, scene().view, scene().photo); }
BENCHMARK(BM_RulePhotoUnchanged);

void BM_RuleThreadIconElsewhere(benchmark::State& state) {
  run(state, scene().view, scene().thread_icon);
}
BENCHMARK(BM_RuleThreadIconElsewhere);

void BM_RuleIconTemplate(benchmark::State& state) { run(state, scene().view, scene().icon); }
BENCHMARK(BM_RuleIconTemplate);

void BM_RulePlaceholderSolid(benchmark::State& state) {
  run(state, scene().view, scene().placeholder);
}
BENCHMARK(BM_RulePlaceholderSolid);

}  // namespace
