// Appearance proxies: what a proxy records, and which instances receive it.
// Each test customises classes of its own, so that no recorded default
// reaches the instances another test makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_appearance.h"

namespace {

using objc::msg;
using objc::Ref;

Class subclass(const char* name, const char* superclass) {
  if (Class existing = objc_getClass(name)) return existing;
  return objc::ClassDefinition(name, objc_getClass(superclass)).finish();
}
id proxy(Class cls) { return msg<id>(cls, "appearance"); }
Ref make(Class cls) { return Ref::adopt(msg<id>(cls, "new")); }
id color(const char* name) { return msg<id>(objc_getClass("UIColor"), name); }

std::vector<std::string> selectors(Class cls) {
  std::vector<std::string> names;
  for (const auto& setting : ui::appearance_settings(cls))
    names.push_back(sel_getName(setting.selector));
  return names;
}

TEST(AppearanceProxy, OneProxyPerClass) {
  std::vector<id> proxies;
  for (const char* name : {"UITextField", "UITextView", "UINavigationBar"}) {
    id first = proxy(objc_getClass(name));
    ASSERT_NE(first, nil) << name;
    EXPECT_EQ(proxy(objc_getClass(name)), first) << name;
    proxies.push_back(first);
  }
  EXPECT_NE(proxies[0], proxies[1]);
  EXPECT_NE(proxies[1], proxies[2]);
  // A subclass has a proxy of its own.
  EXPECT_NE(proxy(subclass("OwnProxyField", "UITextField")), proxies[0]);
}

TEST(AppearanceProxy, AppliesToInstancesMadeAfterwardsOnly) {
  ns::AutoreleasePool pool;
  Class field = subclass("LateField", "UITextField");
  Ref before = make(field);
  id red = color("redColor");
  msg<void>(proxy(field), "setTextColor:", red);
  msg<void>(proxy(field), "setDefaultTextAttributes:", ns::string("attributes"));
  Ref after = make(field);
  EXPECT_EQ(msg<id>(after, "textColor"), red);
  EXPECT_EQ(ns::utf8(msg<id>(after, "defaultTextAttributes")), "attributes");
  EXPECT_EQ(msg<id>(before, "textColor"), nil);
  EXPECT_EQ(msg<id>(before, "defaultTextAttributes"), nil);
  // An instance's own setting, made after init, wins over the default.
  msg<void>(after, "setTextColor:", nil);
  EXPECT_EQ(msg<id>(after, "textColor"), nil);
}

TEST(AppearanceProxy, SubclassesInheritAndMayOverride) {
  ns::AutoreleasePool pool;
  Class bar = subclass("ThemedBar", "UINavigationBar");
  Class special = subclass("SpecialThemedBar", "ThemedBar");
  Class plain_sibling = subclass("PlainBar", "UINavigationBar");
  id red = color("redColor");
  id white = color("whiteColor");
  // The subclass's proxy is set first, yet its value wins: ancestors replay first.
  msg<void>(proxy(special), "setBarTintColor:", white);
  msg<void>(proxy(bar), "setBarTintColor:", red);
  msg<void>(proxy(bar), "setTranslucent:", NO);
  Ref themed = make(bar);
  Ref specific = make(special);
  Ref sibling = make(plain_sibling);
  EXPECT_EQ(msg<id>(themed, "barTintColor"), red);
  EXPECT_FALSE(msg<BOOL>(themed, "isTranslucent"));
  EXPECT_EQ(msg<id>(specific, "barTintColor"), white);
  EXPECT_FALSE(msg<BOOL>(specific, "isTranslucent"));
  EXPECT_EQ(msg<id>(sibling, "barTintColor"), nil);
  EXPECT_TRUE(msg<BOOL>(sibling, "isTranslucent"));
}

TEST(AppearanceProxy, ScalarSettersKeepTheirType) {
  ns::AutoreleasePool pool;
  Class text_view = subclass("FadedTextView", "UITextView");
  msg<void>(proxy(text_view), "setAlpha:", 0.25);
  msg<void>(proxy(text_view), "setHidden:", YES);
  msg<void>(proxy(text_view), "setFrame:", CGRectMake(1, 2, 3, 4));
  Ref made = make(text_view);
  EXPECT_EQ(msg<double>(made, "alpha"), 0.25);
  EXPECT_TRUE(msg<BOOL>(made, "isHidden"));
  EXPECT_EQ(msg<CGRect>(made, "frame"), CGRectMake(1, 2, 3, 4));
  const auto settings = ui::appearance_settings(text_view);
  ASSERT_EQ(settings.size(), 3u);
  EXPECT_EQ(std::get<double>(settings[0].value), 0.25);
  EXPECT_EQ(std::get<BOOL>(settings[1].value), YES);
}

TEST(AppearanceProxy, RecordsInOrderAndALaterSettingReplacesAnEarlierOne) {
  ns::AutoreleasePool pool;
  Class field = subclass("ReorderedField", "UITextField");
  id red = color("redColor");
  id white = color("whiteColor");
  msg<void>(proxy(field), "setTextColor:", red);
  msg<void>(proxy(field), "setDefaultTextAttributes:", ns::string("attributes"));
  msg<void>(proxy(field), "setTextColor:", white);
  EXPECT_EQ(selectors(field),
            (std::vector<std::string>{"setDefaultTextAttributes:", "setTextColor:"}));
  // The proxy answers a property's getter with what it holds.
  EXPECT_EQ(msg<id>(proxy(field), "textColor"), white);
  EXPECT_EQ(msg<id>(proxy(field), "text"), nil);
  EXPECT_TRUE(selectors(subclass("UnsetField", "UITextField")).empty());
  // A method lookup finds a setter before any send, with the class's own
  // signature, as a boxed invocation needs.
  Method setter = class_getInstanceMethod(
      object_getClass(proxy(subclass("LookedUpField", "UITextField"))), objc::sel("setTextColor:"));
  ASSERT_NE(setter, nullptr);
  EXPECT_TRUE(objc::same_signature(method_getTypeEncoding(setter), "v@:@"));
  Class bar = subclass("QueriedBar", "UINavigationBar");
  EXPECT_FALSE(msg<BOOL>(proxy(bar), "isTranslucent"));
  msg<void>(proxy(bar), "setTranslucent:", YES);
  EXPECT_TRUE(msg<BOOL>(proxy(bar), "isTranslucent"));
}

int recorded_sets = 0;
void counting_set_text_color(id self, SEL cmd, id color) {
  ++recorded_sets;
  objc::msg_super<void>(self, objc_getClass("CountingField"), cmd, color);
}

TEST(AppearanceProxy, DefaultsArriveThroughOrdinarySends) {
  ns::AutoreleasePool pool;
  Class field = objc::ClassDefinition("CountingField", objc_getClass("UITextField"))
                    .method("setTextColor:", counting_set_text_color)
                    .finish();
  msg<void>(proxy(field), "setTextColor:", color("blackColor"));
  recorded_sets = 0;
  Ref made = make(field);
  EXPECT_EQ(recorded_sets, 1);
  EXPECT_EQ(msg<id>(made, "textColor"), color("blackColor"));
}

TEST(AppearanceProxy, AnythingButAPropertyOfTheClassRaises) {
  ns::AutoreleasePool pool;
  Class field = subclass("StrictField", "UITextField");
  // Not a method of text fields, a navigation bar's property, and a method
  // that is no setter.
  for (const char* selector : {"setNoSuchThing:", "setBarTintColor:", "addSubview:"}) {
    SCOPED_TRACE(selector);
    try {
      msg<void>(proxy(field), selector, color("redColor"));
      ADD_FAILURE() << "the proxy must refuse " << selector;
    } catch (const objc::Exception& e) {
      EXPECT_EQ(ns::exception_name(e.object()), "NSInvalidArgumentException");
    }
  }
  EXPECT_TRUE(selectors(field).empty());
}

}  // namespace
