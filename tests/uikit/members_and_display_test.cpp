// Members by name through key-value coding, the layers behind views and the
// display pass that the main run loop drives.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/corefoundation/run_loop.h"
#include "platform/coregraphics/cg_color.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/exported_objects.h"
#include "platform/uikit/text_attributes.h"

namespace {

using namespace std::chrono_literals;
using objc::msg;
using objc::Ref;

std::string raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const objc::Exception& e) {
    return ns::exception_name(e.object()) + ": " + ns::exception_reason(e.object());
  }
  return "";
}
Ref make(const char* class_name) { return Ref::adopt(msg<id>(objc_getClass(class_name), "new")); }
id key(const char* text) { return ns::string(text); }

// A view that counts its drawing passes and has a private member.
std::vector<CGRect> drawn;
void counting_draw(id, SEL, CGRect rect) { drawn.push_back(rect); }
Class counting_view() {
  static Class cls = objc::ClassDefinition("CountingView", objc_getClass("UIView"))
                         .member<Ref>("_secret")
                         .member<double>("_weight")
                         .member<CGRect>("_box")
                         .method("drawRect:", counting_draw)
                         .finish();
  return cls;
}

class MembersAndDisplay : public testing::Test {
 protected:
  ns::AutoreleasePool pool_;
};

TEST_F(MembersAndDisplay, KeysReachAccessorsFirstThenMembers) {
  Ref view = Ref::adopt(msg<id>(counting_view(), "new"));
  // An accessor answers when there is one: alpha is a double, boxed.
  msg<void>(view.get(),
            "setValue:forKey:", msg<id>(objc_getClass("NSNumber"), "numberWithDouble:", 0.5),
            key("alpha"));
  EXPECT_EQ(msg<double>(view.get(), "alpha"), 0.5);
  EXPECT_EQ(msg<double>(msg<id>(view.get(), "valueForKey:", key("alpha")), "doubleValue"), 0.5);

  // No accessor: the member "_secret" is read and written, and it owns what
  // it holds.
  Ref secret = Ref::adopt(msg<id>(objc_getClass("NSObject"), "new"));
  msg<void>(view.get(), "setValue:forKey:", secret.get(), key("_secret"));
  EXPECT_EQ(msg<id>(view.get(), "valueForKey:", key("_secret")), secret.get());
  EXPECT_EQ(msg<id>(view.get(), "valueForKey:", key("secret")), secret.get());
  EXPECT_EQ(msg<unsigned long>(secret.get(), "retainCount"), 2u);
  msg<void>(view.get(), "setValue:forKey:", nil, key("secret"));
  EXPECT_EQ(msg<unsigned long>(secret.get(), "retainCount"), 1u);

  msg<void>(view.get(), "setValue:forKey:", msg<id>(objc_getClass("NSNumber"), "numberWithInt:", 3),
            key("weight"));
  EXPECT_EQ(msg<double>(msg<id>(view.get(), "valueForKey:", key("_weight")), "doubleValue"), 3.0);

  // What nothing answers, and what cannot travel as an object, raise.
  EXPECT_EQ(raised([&] { msg<id>(view.get(), "valueForKey:", key("nothing")); }).substr(0, 22),
            "NSUnknownKeyException:");
  EXPECT_NE(raised([&] {
              msg<void>(view.get(), "setValue:forKey:", nil, key("weight"));
            }).find("NSInvalidArgumentException"),
            std::string::npos);
  EXPECT_NE(raised([&] { msg<id>(view.get(), "valueForKey:", key("box")); }), "");
  EXPECT_NE(raised([&] { msg<id>(view.get(), "valueForKey:", nil); }), "");
}

TEST_F(MembersAndDisplay, ExportedNamesAreTheirConstants) {
  EXPECT_EQ(objc::exported_object("NSForegroundColorAttributeName"),
            NSForegroundColorAttributeName);
  EXPECT_EQ(ns::utf8(NSForegroundColorAttributeName), "NSColor");
  EXPECT_EQ(ns::utf8(NSBackgroundColorAttributeName), "NSBackgroundColor");
  EXPECT_EQ(objc::exported_object("NSNoSuchName"), std::nullopt);
}

TEST_F(MembersAndDisplay, LayersKeepTheirOwnColors) {
  Ref view = make("UIView");
  id layer = msg<id>(view.get(), "layer");
  EXPECT_EQ(ns::utf8(NSStringFromClass(object_getClass(layer))), "CALayer");
  EXPECT_EQ(msg<id>(view.get(), "layer"), layer);  // made once
  EXPECT_EQ(msg<id>(layer, "delegate"), view.get());
  EXPECT_FALSE(msg<BOOL>(layer, "respondsToSelector:", objc::sel("setFillColor:")));

  Ref shape = make("CAShapeLayer");
  CGColorRef initial = msg<CGColorRef>(shape.get(), "fillColor");
  ASSERT_NE(initial, nullptr);
  EXPECT_EQ(CGColorGetComponents(initial)[0], 0.0);
  {
    ns::AutoreleasePool inner;
    id grey = msg<id>(objc_getClass("UIColor"), "colorWithWhite:alpha:", 0.25, 1.0);
    msg<void>(shape.get(), "setFillColor:", msg<CGColorRef>(grey, "CGColor"));
  }
  // The colour it was taken from is gone; the layer's copy stays.
  CGColorRef kept = msg<CGColorRef>(shape.get(), "fillColor");
  EXPECT_EQ(CGColorGetNumberOfComponents(kept), 2u);
  EXPECT_EQ(CGColorGetComponents(kept)[0], 0.25);
  msg<void>(shape.get(), "setFillColor:", static_cast<CGColorRef>(nullptr));
  EXPECT_EQ(msg<CGColorRef>(shape.get(), "fillColor"), nullptr);
}

TEST_F(MembersAndDisplay, MarkedViewsDrawOnceAtTheNextTurn) {
  drawn.clear();
  id view = msg<id>(msg<id>(counting_view(), "alloc"), "initWithFrame:", CGRectMake(5, 5, 30, 20));
  msg<void>(view, "setNeedsDisplay");
  msg<void>(view, "setNeedsDisplay");
  // The pending turn keeps the view alive.
  msg<void>(view, "release");
  EXPECT_TRUE(drawn.empty());
  cf::main_run_loop().run_once(0ms);
  EXPECT_EQ(drawn, (std::vector<CGRect>{CGRectMake(0, 0, 30, 20)}));
  cf::main_run_loop().run_once(0ms);
  EXPECT_EQ(drawn.size(), 1u);
}

}  // namespace
