#include "platform/uikit/ui_status_bar.h"

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<long> kRequestStyle{"UIStatusBarStyleRequest", "_style"};

const objc::Member<Ref> kAttributesRequest{"UIStatusBarNewUIStyleAttributes", "_request"};
const objc::Member<Ref> kAttributesBackground{"UIStatusBarNewUIStyleAttributes",
                                              "_backgroundColor"};
const objc::Member<Ref> kAttributesForeground{"UIStatusBarNewUIStyleAttributes",
                                              "_foregroundColor"};

const objc::Member<Ref> kActiveColor{"_UIStatusBarSignalView", "_activeColor"};
const objc::Member<long> kActiveBars{"_UIStatusBarSignalView", "_numberOfActiveBars"};

const objc::Member<Ref> kStyleAttributes{"UIStatusBar", "_styleAttributes"};
const objc::Member<Ref> kTimeView{"UIStatusBar", "_timeView"};
const objc::Member<Ref> kSignalView{"UIStatusBar", "_signalView"};
const objc::Member<Ref> kWifiView{"UIStatusBar", "_wifiView"};
const objc::Member<Ref> kBatteryView{"UIStatusBar", "_batteryView"};

id request_init_with_style(id self, SEL, long style) {
  self = msg<id>(self, "init");
  if (self != nil) kRequestStyle.of(self) = style;
  return self;
}
long request_style(id self, SEL) { return kRequestStyle.of(self); }

id attributes_init(id self, SEL, id request, id background, id foreground) {
  self = msg<id>(self, "init");
  if (self == nil) return nil;
  kAttributesRequest.of(self) = Ref::retain(request);
  kAttributesBackground.of(self) = Ref::retain(background);
  kAttributesForeground.of(self) = Ref::retain(foreground);
  return self;
}
id attributes_request(id self, SEL) { return kAttributesRequest.of(self); }
id attributes_background(id self, SEL) { return kAttributesBackground.of(self); }
id attributes_foreground(id self, SEL) { return kAttributesForeground.of(self); }

id signal_active_color(id self, SEL) { return kActiveColor.of(self); }
void signal_set_active_color(id self, SEL, id color) { kActiveColor.of(self) = Ref::retain(color); }
long signal_active_bars(id self, SEL) { return kActiveBars.of(self); }
void signal_set_active_bars(id self, SEL, long bars) { kActiveBars.of(self) = bars; }

// Adds a new item view of the class to the bar and answers it.
id add_item(id bar, const char* class_name, CGRect frame) {
  Ref item =
      Ref::adopt(msg<id>(msg<id>(objc_getClass(class_name), "alloc"), "initWithFrame:", frame));
  msg<void>(bar, "addSubview:", item.get());
  return item;
}

id bar_init_with_frame(id self, SEL, CGRect frame) {
  self =
      objc::msg_super<id>(self, objc_getClass("UIStatusBar"), objc::sel("initWithFrame:"), frame);
  if (self == nil) return nil;
  id time = add_item(self, "_UIStatusBarStringView", CGRectMake(16, 14, 54, 18));
  msg<void>(time, "setText:", NSSTR("9:41"));
  kTimeView.of(self) = Ref::retain(time);
  kSignalView.of(self) = Ref::retain(
      add_item(self, "_UIStatusBarSignalView", CGRectMake(frame.size.width - 80, 18, 17, 11)));
  msg<void>(kSignalView.of(self), "setNumberOfActiveBars:", 3L);
  kWifiView.of(self) = Ref::retain(
      add_item(self, "_UIStatusBarImageView", CGRectMake(frame.size.width - 58, 18, 15, 11)));
  kBatteryView.of(self) = Ref::retain(
      add_item(self, "_UIStatusBarImageView", CGRectMake(frame.size.width - 38, 18, 25, 12)));
  msg<void>(self, "requestStyle:", static_cast<long>(kStatusBarStyleDefault));
  return self;
}

// Light content is white on a clear bar; every other style is black.
void bar_request_style(id self, SEL, long style) {
  Class color = objc_getClass("UIColor");
  Ref request = Ref::adopt(
      msg<id>(msg<id>(objc_getClass("UIStatusBarStyleRequest"), "alloc"), "initWithStyle:", style));
  id foreground =
      msg<id>(color, style == kStatusBarStyleLightContent ? "whiteColor" : "blackColor");
  kStyleAttributes.of(self) =
      Ref::adopt(msg<id>(msg<id>(objc_getClass("UIStatusBarNewUIStyleAttributes"), "alloc"),
                         "initWithRequest:backgroundColor:foregroundColor:", request.get(),
                         msg<id>(color, "clearColor"), foreground));
  id applied = msg<id>(kStyleAttributes.of(self), "foregroundColor");
  msg<void>(kTimeView.of(self), "setTextColor:", applied);
  msg<void>(kWifiView.of(self), "setTintColor:", applied);
  msg<void>(kBatteryView.of(self), "setTintColor:", applied);
  msg<void>(kSignalView.of(self), "setActiveColor:", applied);
}

id bar_style_attributes(id self, SEL) { return kStyleAttributes.of(self); }
id bar_time_view(id self, SEL) { return kTimeView.of(self); }
id bar_signal_view(id self, SEL) { return kSignalView.of(self); }
id bar_wifi_view(id self, SEL) { return kWifiView.of(self); }
id bar_battery_view(id self, SEL) { return kBatteryView.of(self); }

}  // namespace

void define_status_bar_classes() {
  objc::ClassDefinition("UIStatusBarStyleRequest", objc_getClass("NSObject"))
      .member<long>("_style")
      .method("initWithStyle:", request_init_with_style)
      .method("style", request_style)
      .finish();
  objc::ClassDefinition("UIStatusBarNewUIStyleAttributes", objc_getClass("NSObject"))
      .member<Ref>("_request")
      .member<Ref>("_backgroundColor")
      .member<Ref>("_foregroundColor")
      .method("initWithRequest:backgroundColor:foregroundColor:", attributes_init)
      .method("request", attributes_request)
      .method("backgroundColor", attributes_background)
      .method("foregroundColor", attributes_foreground)
      .finish();
  objc::ClassDefinition("_UIStatusBarStringView", objc_getClass("UILabel")).finish();
  objc::ClassDefinition("_UIStatusBarImageView", objc_getClass("UIImageView")).finish();
  objc::ClassDefinition("_UIStatusBarSignalView", objc_getClass("UIView"))
      .member<Ref>("_activeColor")
      .member<long>("_numberOfActiveBars")
      .method("activeColor", signal_active_color)
      .method("setActiveColor:", signal_set_active_color)
      .method("numberOfActiveBars", signal_active_bars)
      .method("setNumberOfActiveBars:", signal_set_active_bars)
      .finish();
  objc::ClassDefinition("UIStatusBar", objc_getClass("UIView"))
      .member<Ref>("_styleAttributes")
      .member<Ref>("_timeView")
      .member<Ref>("_signalView")
      .member<Ref>("_wifiView")
      .member<Ref>("_batteryView")
      .method("initWithFrame:", bar_init_with_frame)
      .method("requestStyle:", bar_request_style)
      .method("styleAttributes", bar_style_attributes)
      .method("timeView", bar_time_view)
      .method("signalView", bar_signal_view)
      .method("wifiView", bar_wifi_view)
      .method("batteryView", bar_battery_view)
      .finish();
}

}  // namespace ui
