#include "hosts/gmail/host_classes.h"

#include <map>
#include <string>

#include "hosts/gmail/side_panel.h"
#include "hosts/gmail/thread_cells.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
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

// MDCFloatingButton keeps a background colour per control state and shows
// the one of its current state. Its plain background colour is the normal
// state's; every change of a colour or of the state puts the colour of the
// state on the view, through UIView's setter.
const objc::Member<std::map<unsigned long, Ref>> kStateBackgrounds{"MDCFloatingButton",
                                                                   "_backgroundColors"};

Class floating_button() { return objc_getClass("MDCFloatingButton"); }

void floating_button_update_background(id self) {
  id color = msg<id>(self, "backgroundColorForState:", msg<unsigned long>(self, "state"));
  objc::msg_super<void>(self, floating_button(), objc::sel("setBackgroundColor:"), color);
}
id floating_button_background_for_state(id self, SEL, unsigned long state) {
  const auto& colors = kStateBackgrounds.of(self);
  auto it = colors.find(state);
  if (it == colors.end()) it = colors.find(0);
  return it == colors.end() ? nil : it->second.get();
}
void floating_button_set_background_for_state(id self, SEL, id color, unsigned long state) {
  kStateBackgrounds.of(self)[state] = Ref::retain(color);
  floating_button_update_background(self);
}
void floating_button_set_background(id self, SEL, id color) {
  msg<void>(self, "setBackgroundColor:forState:", color, 0UL);
}
void floating_button_set_state_flag(id self, SEL cmd, BOOL value) {
  objc::msg_super<void>(self, floating_button(), cmd, value);
  floating_button_update_background(self);
}

// ThreadSubjectView shows the thread's subject in its text view, which fills
// it.
void thread_subject_layout_subviews(id self, SEL) {
  msg<void>(msg<id>(self, "subjectTextView"), "setFrame:", msg<CGRect>(self, "bounds"));
}

Class shape_layer_class(id, SEL) { return objc_getClass("CAShapeLayer"); }

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
        "GOOSideViewCarouselView", "SearchZeroStateView", "SearchErrorView", "MessageWarningView",
        "EmptyView", "ZeroStateView", "ComposeViewHeader", "GBTOpenSearchBarGradientView",
        "OGLItemListViewCellBackgroundView", "GBTKeyboardPromoView"}) {
    plain(name, "UIView");
  }
  plain("ThreadViewController", "UIViewController");
  plain("ThreadListViewController", "UIViewController");
  plain("GOOMultilineTextField", "UITextView");
  plain("GBTTextField", "UITextField");
  plain("ExpandableTextField", "UITextField");
  // The app-store button draws itself over a shape layer.
  if (wanted("GRWAppStoreButton")) {
    objc::ClassDefinition("GRWAppStoreButton", objc_getClass("UIButton"))
        .class_method("layerClass", shape_layer_class)
        .finish();
  }

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
  if (wanted("ComposeViewController")) {
    with_properties("ComposeViewController", "UIViewController", {"bodyView"}).finish();
  }
  if (wanted("ThreadSubjectView")) {
    with_properties("ThreadSubjectView", "UIView", {"subjectTextView"})
        .method("layoutSubviews", thread_subject_layout_subviews)
        .finish();
  }
  if (wanted("MDCFloatingButton")) {
    objc::ClassDefinition("MDCFloatingButton", objc_getClass("UIButton"))
        .member<std::map<unsigned long, Ref>>("_backgroundColors")
        .method("backgroundColorForState:", floating_button_background_for_state)
        .method("setBackgroundColor:forState:", floating_button_set_background_for_state)
        .method("setBackgroundColor:", floating_button_set_background)
        .method("setHighlighted:", floating_button_set_state_flag)
        .method("setEnabled:", floating_button_set_state_flag)
        .method("setSelected:", floating_button_set_state_flag)
        .finish();
  }
  if (wanted("GOOSideViewItemCell")) define_side_view_item_cell();
  if (wanted("ThreadCellFrontView")) define_thread_cell_front_view();

  // The platform's private image class that the theme names.
  plain("_UIResizableImage", "UIImage");
}

}  // namespace host
