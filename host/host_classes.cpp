#include "host/host_classes.h"

#include <string>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace host {
namespace {

using objc::msg;
using objc::Ref;

// Object properties stored in a member named after them: `fillColor` and
// `setFillColor:` keep their value in `_fillColor`.
std::string member_for_getter(SEL getter) { return std::string("_") + sel_getName(getter); }
std::string member_for_setter(SEL setter) {
  std::string name = sel_getName(setter);  // "setFillColor:"
  name = name.substr(3, name.size() - 4);
  name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
  return "_" + name;
}
Ref& property_member(id self, const std::string& member) {
  return *reinterpret_cast<Ref*>(reinterpret_cast<char*>(self) +
                                 objc::member_offset(object_getClass(self), member.c_str()));
}
id get_property(id self, SEL cmd) { return property_member(self, member_for_getter(cmd)); }
void set_property(id self, SEL cmd, id value) {
  property_member(self, member_for_setter(cmd)) = Ref::retain(value);
}

// A class with object properties; `superclass` must exist.
objc::ClassDefinition with_properties(const char* name, const char* superclass,
                                      std::initializer_list<const char*> properties) {
  objc::ClassDefinition definition(name, objc_getClass(superclass));
  for (const char* property : properties) {
    std::string getter = property;
    std::string setter = "set" + getter + ":";
    setter[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(setter[3])));
    definition.member<Ref>(("_" + getter).c_str());
    definition.method(getter.c_str(), get_property);
    definition.method(setter.c_str(), set_property);
  }
  return definition;
}

// MDCFloatingButton keeps one background colour per control state.
id floating_button_background_for_state(id self, SEL, unsigned long) {
  return msg<id>(self, "backgroundColor");
}

// UIStatusBarNewUIStyleAttributes: the status bar's colours for one request.
id style_attributes_init(id self, SEL, id request, id background, id foreground) {
  static const objc::Member<Ref> request_member{"UIStatusBarNewUIStyleAttributes", "_request"};
  request_member.of(self) = Ref::retain(request);
  msg<void>(self, "setBackgroundColor:", background);
  msg<void>(self, "setForegroundColor:", foreground);
  return self;
}

BOOL render_config_light_keyboard(id self, SEL) {
  static const objc::Member<BOOL> light{"UIKBRenderConfig", "_lightKeyboard"};
  return light.of(self);
}

id date_picker_title_label(id self, SEL) {
  static const objc::Member<Ref> label{"UIDatePickerContentView", "_titleLabel"};
  Ref& stored = label.of(self);
  if (!stored) stored = Ref::adopt(msg<id>(objc_getClass("UILabel"), "new"));
  return stored;
}

}  // namespace

void define_host_classes(const std::set<std::string>& omitted) {
  const auto wanted = [&](const char* name) {
    return omitted.count(name) == 0 && objc_getClass(name) == Nil;
  };
  const auto plain = [&](const char* name, const char* superclass) {
    if (wanted(name)) objc::ClassDefinition(name, objc_getClass(superclass)).finish();
  };

  // The app's views that the background mapping singles out by class.
  for (const char* name :
       {"GOOSideViewLegacyContentView", "SDPSideViewContentView", "MDCFlexibleHeaderView",
        "ASMHeaderView", "GOODialogView", "GOOSideViewBackgroundContainerView",
        "GOOSideViewCarouselView", "SearchZeroStateView", "SearchErrorView",
        "MessageWarningView", "EmptyView", "ZeroStateView", "ComposeViewHeader",
        "GBTOpenSearchBarGradientView", "OGLItemListViewCellBackgroundView",
        "GBTKeyboardPromoView"}) {
    plain(name, "UIView");
  }
  plain("ThreadViewController", "UIViewController");
  plain("ThreadListViewController", "UIViewController");
  plain("GOOMultilineTextField", "UITextView");
  plain("GBTTextField", "UITextField");
  plain("ExpandableTextField", "UITextField");
  plain("GRWAppStoreButton", "UIButton");

  if (wanted("GBTNavigationBar")) {
    with_properties("GBTNavigationBar", "UINavigationBar", {"customBarTintColor"}).finish();
  }
  if (wanted("MDCInkView")) {
    with_properties("MDCInkView", "UIView", {"inkColor", "defaultInkColor"}).finish();
  }
  if (wanted("GSKStreamingTextView")) {
    with_properties("GSKStreamingTextView", "UIView", {"fillColor"}).finish();
  }
  if (wanted("GBTRoundedCornerView")) {
    with_properties("GBTRoundedCornerView", "UIView", {"fillColor"}).finish();
  }
  if (wanted("ThreadSubjectView")) {
    with_properties("ThreadSubjectView", "UIView", {"subjectTextView"}).finish();
  }
  if (wanted("MDCFloatingButton")) {
    objc::ClassDefinition("MDCFloatingButton", objc_getClass("UIButton"))
        .method("backgroundColorForState:", floating_button_background_for_state)
        .finish();
  }
  if (wanted("GOOSideViewItemCell")) plain("GOOSideViewItemCell", "UITableViewCell");

  // The platform's private classes the theme names.
  plain("_UIStatusBarImageView", "UIImageView");
  plain("_UIStatusBarStringView", "UILabel");
  if (wanted("_UIStatusBarSignalView")) {
    with_properties("_UIStatusBarSignalView", "UIView", {"activeColor", "inactiveColor"}).finish();
  }
  if (wanted("UIStatusBarNewUIStyleAttributes")) {
    with_properties("UIStatusBarNewUIStyleAttributes", "NSObject",
                    {"backgroundColor", "foregroundColor"})
        .member<Ref>("_request")
        .method("initWithRequest:backgroundColor:foregroundColor:", style_attributes_init)
        .finish();
  }
  if (wanted("UITableViewCellSelectedBackground")) {
    with_properties("UITableViewCellSelectedBackground", "UIView", {"selectionTintColor"})
        .finish();
  }
  if (wanted("UIDatePickerContentView")) {
    objc::ClassDefinition("UIDatePickerContentView", objc_getClass("UIView"))
        .member<Ref>("_titleLabel")
        .method("titleLabel", date_picker_title_label)
        .finish();
  }
  if (wanted("UIPickerTableViewTitledCell")) {
    with_properties("UIPickerTableViewTitledCell", "UITableViewCell", {"attributedTitle"})
        .finish();
  }
  if (wanted("UIKBRenderConfig")) {
    objc::ClassDefinition("UIKBRenderConfig", objc_getClass("NSObject"))
        .member<BOOL>("_lightKeyboard")
        .method("lightKeyboard", render_config_light_keyboard)
        .finish();
  }
  plain("DevicePINKeypad", "UIView");
  plain("UIKeyboardDockView", "UIView");
}

}  // namespace host
