// The view background rule per call, beside the bare setter it wraps: a view
// three levels deep under a view controller, given a colour of the table and
// one in no row.
#include <benchmark/benchmark.h>

#include "core/hook_registry.h"
#include "overrides/host/view_background.h"
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
  Ref white;
  Ref unlisted;

  Scene() {
    ns::AutoreleasePool pool;
    controller = Ref::adopt(msg<id>(objc_getClass("UIViewController"), "new"));
    id parent = msg<id>(controller, "view");
    for (int level = 0; level < 3; ++level) {
      Ref child = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIView"), "alloc"),
                                     "initWithFrame:", CGRectMake(0, 0, 10, 10)));
      msg<void>(parent, "addSubview:", child.get());
      parent = child;
    }
    view = parent;

    Class bare = objc_allocateClassPair(objc_getClass("UIView"), "BareSetterView", 0);
    objc_registerClassPair(bare);
    class_addMethod(bare, objc::sel("setBackgroundColor:"),
                    *tenebra::saved_view_set_background_color.slot(), "v@:@");
    Ref sibling =
        Ref::adopt(msg<id>(msg<id>(bare, "alloc"), "initWithFrame:", CGRectMake(0, 0, 10, 10)));
    msg<void>(msg<id>(view, "superview"), "addSubview:", sibling.get());
    bare_view = sibling;
    white = Ref::retain(
        msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 1.0, 1.0, 1.0, 1.0));
    unlisted = Ref::retain(
        msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 0.2, 0.4, 0.6, 1.0));
  }
};

Scene& scene() {
  static Scene* s = [] {
    tenebra::testing::bring_up_theme();
    return new Scene;
  }();
  return *s;
}

// The same send to a view whose class answers the selector with the bare
// setter the rule wraps (the saved implementation), so the difference is
// the rule's own cost.
void BM_BareSetter(benchmark::State& state) {
  Scene& s = scene();
  SEL setter = objc::sel("setBackgroundColor:");
  for (auto _ : state) msg<void>(s.bare_view, setter, s.white.get());
}
BENCHMARK(BM_BareSetter);

void BM_RuleColorInTable(benchmark::State& state) {
  Scene& s = scene();
  SEL setter = objc::sel("setBackgroundColor:");
  for (auto _ : state) msg<void>(s.view, setter, s.white.get());
}
BENCHMARK(BM_RuleColorInTable);

void BM_RuleColorInNoRow(benchmark::State& state) {
  Scene& s = scene();
  SEL setter = objc::sel("setBackgroundColor:");
  for (auto _ : state) msg<void>(s.view, setter, s.unlisted.get());
}
BENCHMARK(BM_RuleColorInNoRow);

}  // namespace
