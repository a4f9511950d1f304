#include "platform/webkit/web_views.h"

#include "platform/foundation/ns_object.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace webkit {
namespace {

using objc::msg;
using objc::Ref;

// Both web views keep their page in members of these names.
template <const char* kClassName>
struct Page {
  static inline const objc::Member<Ref> html{kClassName, "_loadedHTMLString"};
  static inline const objc::Member<Ref> base_url{kClassName, "_loadedBaseURL"};

  static void keep(id self, id html_string, id base) {
    html.of(self) = Ref::adopt(msg<id>(html_string, "copy"));
    base_url.of(self) = Ref::retain(base);
  }
  static id loaded_html(id self, SEL) { return html.of(self); }
  static id loaded_base_url(id self, SEL) { return base_url.of(self); }
};

constexpr char kUIWebView[] = "UIWebView";
constexpr char kWKWebView[] = "WKWebView";
using UIWebViewPage = Page<kUIWebView>;
using WKWebViewPage = Page<kWKWebView>;

const objc::Member<Ref> kConfiguration{kWKWebView, "_configuration"};

// The background the app set, else the white of an empty page.
template <const char* kClassName>
id web_view_background_color(id self, SEL cmd) {
  if (id set = objc::msg_super<id>(self, objc_getClass(kClassName), cmd)) return set;
  return msg<id>(objc_getClass("UIColor"), "whiteColor");
}

void ui_web_view_load_html(id self, SEL, id html, id base_url) {
  UIWebViewPage::keep(self, html, base_url);
}

id wk_web_view_init_with_configuration(id self, SEL, CGRect frame, id configuration) {
  if (configuration == nil ||
      !msg<BOOL>(configuration, "isKindOfClass:", objc_getClass("WKWebViewConfiguration"))) {
    objc::raise("NSInvalidArgumentException", "Configuration cannot be nil");
  }
  Ref kept = Ref::adopt(msg<id>(configuration, "copy"));
  self = objc::msg_super<id>(self, objc_getClass(kWKWebView), objc::sel("initWithFrame:"), frame);
  if (self == nil) return nil;
  kConfiguration.of(self) = std::move(kept);
  return self;
}
id wk_web_view_init_with_frame(id self, SEL, CGRect frame) {
  Ref configuration = Ref::adopt(msg<id>(objc_getClass("WKWebViewConfiguration"), "new"));
  return msg<id>(self, "initWithFrame:configuration:", frame, configuration.get());
}
// A copy, as WebKit answers; it shares the user content controller.
id wk_web_view_configuration(id self, SEL) {
  return ns::autorelease(msg<id>(kConfiguration.of(self), "copy"));
}
// WebKit answers a navigation object; this model has none to give.
id wk_web_view_load_html(id self, SEL, id html, id base_url) {
  WKWebViewPage::keep(self, html, base_url);
  return nil;
}

}  // namespace

void define_web_view_classes() {
  Class view = objc_getClass("UIView");
  objc::ClassDefinition(kUIWebView, view)
      .member<Ref>("_loadedHTMLString")
      .member<Ref>("_loadedBaseURL")
      .method("loadHTMLString:baseURL:", ui_web_view_load_html)
      .method("loadedHTMLString", UIWebViewPage::loaded_html)
      .method("loadedBaseURL", UIWebViewPage::loaded_base_url)
      .method("backgroundColor", web_view_background_color<kUIWebView>)
      .finish();
  objc::ClassDefinition(kWKWebView, view)
      .member<Ref>("_configuration")
      .member<Ref>("_loadedHTMLString")
      .member<Ref>("_loadedBaseURL")
      .method("initWithFrame:configuration:", wk_web_view_init_with_configuration)
      .method("initWithFrame:", wk_web_view_init_with_frame)
      .method("configuration", wk_web_view_configuration)
      .method("loadHTMLString:baseURL:", wk_web_view_load_html)
      .method("loadedHTMLString", WKWebViewPage::loaded_html)
      .method("loadedBaseURL", WKWebViewPage::loaded_base_url)
      .method("backgroundColor", web_view_background_color<kWKWebView>)
      .finish();
}

}  // namespace webkit
