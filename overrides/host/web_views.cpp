#include "overrides/host/web_views.h"

#include "core/host_interface.h"
#include "core/palette.h"
#include "core/settings.h"
#include "overrides/host/web_content_choice.h"
#include "platform/foundation/format.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/webkit/webkit.h"

namespace tenebra {

SavedImplementation<id(id, SEL)> saved_ui_web_view_background_color;
SavedImplementation<void(id, SEL, id, id)> saved_ui_web_view_load_html_string;
SavedImplementation<id(id, SEL, CGRect, id)> saved_wk_web_view_init_with_frame;
SavedImplementation<id(id, SEL)> saved_wk_web_view_background_color;

namespace {

using objc::msg;
using objc::Ref;

bool places_script() { return places_mail_script(settings.enabled != 0, settings.colorEmail != 0); }

id script_text() { return msg<id>(objc_getClass("Helper"), "getScript"); }

id background(WebViewKind kind, id self, SEL cmd, const SavedImplementation<id(id, SEL)>& saved) {
  switch (choose_web_background(kind, settings.enabled != 0)) {
    case WebBackground::kSaved:
      break;
    case WebBackground::kPlatformBlack:
      return msg<id>(objc_getClass("UIColor"), "blackColor");
    case WebBackground::kBgColor:
      return bgColor;
  }
  return saved(self, cmd);
}

}  // namespace

id ui_web_view_background_color(id self, SEL _cmd) {
  return background(WebViewKind::kUIWebView, self, _cmd, saved_ui_web_view_background_color);
}

id wk_web_view_background_color(id self, SEL _cmd) {
  return background(WebViewKind::kWKWebView, self, _cmd, saved_wk_web_view_background_color);
}

void ui_web_view_load_html_string(id self, SEL _cmd, id html, id base_url) {
  if (!places_script()) return saved_ui_web_view_load_html_string(self, _cmd, html, base_url);
  // The script is only ever an argument of the format: it holds "%" signs.
  id replacement = ns::format(NSSTR(kHeadReplacementFormat), script_text());
  id page = msg<id>(html, "stringByReplacingOccurrencesOfString:withString:", NSSTR(kHeadMarker),
                    replacement);
  saved_ui_web_view_load_html_string(self, _cmd, page, base_url);
}

id wk_web_view_init_with_frame(id self, SEL _cmd, CGRect frame, id configuration) {
  if (!places_script()) return saved_wk_web_view_init_with_frame(self, _cmd, frame, configuration);
  // A configuration this call makes lives until the call returns; it is made
  // before anything that may raise, so the second call below always has one.
  Ref made;
  id used = configuration;
  try {
    if (used == nil) {
      made = Ref::adopt(msg<id>(objc_getClass("WKWebViewConfiguration"), "new"));
      used = made;
    }
    Ref script = Ref::adopt(msg<id>(msg<id>(objc_getClass("WKUserScript"), "alloc"),
                                    "initWithSource:injectionTime:forMainFrameOnly:",
                                    script_text(), webkit::kInjectionAtDocumentStart, NO));
    msg<void>(msg<id>(used, "userContentController"), "addUserScript:", script.get());
    return saved_wk_web_view_init_with_frame(self, _cmd, frame, used);
  } catch (const objc::Exception& raised) {
    // Only the platform's exception class is caught; anything else leaves.
    if (!is_kind_of(raised.object(), objc_getClass("NSException"))) throw;
    NSLog(NSSTR(kExceptionLogFormat), raised.object());
  }
  return saved_wk_web_view_init_with_frame(self, _cmd, frame, used);
}

}  // namespace tenebra
