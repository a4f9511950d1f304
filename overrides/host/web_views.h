// The rules on the two web views: the mail-content script goes into every
// page a UIWebView is given as HTML text and into the configuration of every
// WKWebView the app creates, and both web views report a black background.
#pragma once

#include "core/saved_implementation.h"
#include "platform/coregraphics/geometry.h"

namespace tenebra {

inline constexpr const char* kHeadMarker = "<head>";
inline constexpr const char* kHeadReplacementFormat = "<head><script>%@</script>";
inline constexpr const char* kExceptionLogFormat = "-----------------Exception:%@";

extern SavedImplementation<id(id, SEL)> saved_ui_web_view_background_color;
extern SavedImplementation<void(id, SEL, id, id)> saved_ui_web_view_load_html_string;
extern SavedImplementation<id(id, SEL, CGRect, id)> saved_wk_web_view_init_with_frame;
extern SavedImplementation<id(id, SEL)> saved_wk_web_view_background_color;

// -[UIWebView backgroundColor]
id ui_web_view_background_color(id self, SEL _cmd);
// -[UIWebView loadHTMLString:baseURL:]: every literal "<head>" of the page,
// left to right and without rescanning what was put in, is followed by the
// script in a script element.
void ui_web_view_load_html_string(id self, SEL _cmd, id html, id base_url);
// -[WKWebView initWithFrame:configuration:]: the script becomes a user script
// of the configuration (a new one when the app gave none), at document start
// in every frame. Whatever the platform raises on the way is logged and the
// web view is created all the same.
id wk_web_view_init_with_frame(id self, SEL _cmd, CGRect frame, id configuration);
// -[WKWebView backgroundColor]
id wk_web_view_background_color(id self, SEL _cmd);

}  // namespace tenebra
